#include "livecheck/LiveCheck.h"

#include "spots/SpotText.h"

LiveCheck::Result LiveCheck::verifica(const QString& stringaricevuta, const CallsignIndex& list)
{
    Result r;
    r.resultString = SpotText::spottedCallsign(stringaricevuta);
    r.trovatouguale = !r.resultString.isEmpty() && list.contains(r.resultString);
    return r;
}

std::optional<QString> LiveCheck::spotPaneCopy(const QString& stringaricevuta, const QDateTime& now)
{
    // Blanks (U+0020) only: a tab or another space character stays.
    qsizetype blanks = 0;
    while (blanks < stringaricevuta.size() && stringaricevuta.at(blanks) == u' ')
        ++blanks;
    const QString copy = stringaricevuta.mid(blanks);
    if (!copy.startsWith(QLatin1String("DX")))
        return std::nullopt;
    return QStringLiteral("%1  %2").arg(copy.left(62),
                                        now.toUTC().toString(QStringLiteral("hh:mm")));
}
