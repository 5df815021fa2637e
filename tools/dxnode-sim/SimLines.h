#pragma once

#include <QDateTime>
#include <QString>
#include <QTime>

// How the simulated node writes its lines. Pure functions, no line end.
namespace SimLines {

struct Spot
{
    QString spotter;   // without the colon, e.g. "W3LPL" or "KO7SS-7-#"
    QString frequency; // kHz as the node writes it, e.g. "21021.0" or "7018.20"
    QString call;      // e.g. "VP2MXX"
    QString comment;   // e.g. "CW 579 up 2"
    QTime time;        // UTC
    QDate date;        // UTC, for sh/dx
};

// The usual spot layout:
//   DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2                    0712Z
// the spotter with its colon in columns 7-15, the frequency right-aligned
// ending in column 24, the callsign from column 27 in 12, the comment from
// column 40 in 30, the time in columns 71-75. A spotter longer than the
// field pushes the rest right; a frequency too wide for its field eats into
// the blanks before it, keeping at least one after the colon.
QString formatSpot(const Spot& spot);

// One line of the answer to sh/dx:
//   "  21021.0  VP2MXX       9-Dec-2026 0712Z CW 579 up 2              <W3LPL>"
QString formatShowDx(const Spot& spot);

// "N0CALL de SIM-1  9-Dec-2026 2330Z dxspider >" (the day padded to two).
QString formatPrompt(const QString& call, const QString& node, const QDateTime& utc);

// " 9-Dec-2026": day padded to two, English month.
QString formatDate(const QDate& date);

} // namespace SimLines
