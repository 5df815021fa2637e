#include "alerts/SpokenText.h"

#include <QStringList>

QString SpokenText::frequency(int frequency)
{
    if (frequency <= 0)
        return {};
    const QString whole = QString::number(frequency / 10);
    const int tenths = frequency % 10;
    // Groups of three digits from the right, parted by a space: a speech
    // engine reads "14 025" as "fourteen, zero twenty-five", close to how it
    // is said on the air, where "14025" would come out as one big number.
    QString grouped;
    grouped.reserve(whole.size() + whole.size() / 3 + 2);
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            grouped += QLatin1Char(' ');
        grouped += whole.at(i);
    }
    if (tenths != 0)
        grouped += QLatin1Char('.') + QString::number(tenths);
    return grouped;
}

QString SpokenText::of(const QString& callsign, const QString& entity, int frequency,
                       const QString& mode)
{
    QStringList parts;
    for (const QString& part : {callsign.trimmed(), entity.trimmed(),
                                SpokenText::frequency(frequency), mode.trimmed()}) {
        if (!part.isEmpty())
            parts += part;
    }
    return parts.join(QStringLiteral(", "));
}

QString SpokenText::of(const std::optional<SpotStatus>& status, const QString& callsign,
                       const QString& entity, int frequency, const QString& mode)
{
    const QString spot = of(callsign, entity, frequency, mode);
    if (!status || !status->isNeeded() || spot.isEmpty())
        return spot;
    return status->text() + QStringLiteral(": ") + spot;
}
