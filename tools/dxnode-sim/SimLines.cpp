#include "SimLines.h"

namespace SimLines {

QString formatSpot(const Spot& spot)
{
    const QString spotterField = (spot.spotter + QLatin1Char(':')).leftJustified(9);
    QString line = QStringLiteral("DX de ") + spotterField;
    const qsizetype overflow = std::max<qsizetype>(0, spotterField.size() - 9);
    const qsizetype freqEnd =
        std::max<qsizetype>(24 + overflow, QStringLiteral("DX de ").size() + spot.spotter.size() +
                                               1 + 1 + spot.frequency.size());
    // Trailing blanks of the spotter field may give way to a wide frequency.
    const qsizetype freqStart = freqEnd - spot.frequency.size();
    if (line.size() > freqStart)
        line.truncate(freqStart);
    line = line.leftJustified(freqStart) + spot.frequency;
    line += QStringLiteral("  ") + spot.call.leftJustified(12) + QLatin1Char(' ');
    line += spot.comment.leftJustified(30, QLatin1Char(' '), true) + QLatin1Char(' ');
    line += spot.time.toString(QStringLiteral("HHmm")) + QLatin1Char('Z');
    return line;
}

QString formatDate(const QDate& date)
{
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return QStringLiteral("%1-%2-%3")
        .arg(date.day(), 2)
        .arg(QLatin1String(months[date.month() - 1]))
        .arg(date.year());
}

QString formatShowDx(const Spot& spot)
{
    return QStringLiteral("%1  %2 %3 %4Z %5 <%6>")
        .arg(spot.frequency, 9)
        .arg(spot.call.leftJustified(12))
        .arg(formatDate(spot.date))
        .arg(spot.time.toString(QStringLiteral("HHmm")))
        .arg(spot.comment.leftJustified(30, QLatin1Char(' '), true))
        .arg(spot.spotter);
}

QString formatPrompt(const QString& call, const QString& node, const QDateTime& utc)
{
    return QStringLiteral("%1 de %2 %3 %4Z dxspider >")
        .arg(call, node, formatDate(utc.date()), utc.time().toString(QStringLiteral("HHmm")));
}

} // namespace SimLines
