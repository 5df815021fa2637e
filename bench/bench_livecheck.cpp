// The cost of the live check per shown line, against a small and a very
// large calendar list. The calendar list holds seven entries for nearly
// every character of the calendar page's text, so a long month gives tens
// of thousands; the check runs for every spot line the node sends.
//
//   bench_livecheck [lines]
//
// Prints the time per line with 100 and with 50,000 calendar entries, the
// ratio of the two (goal: at most 2), and for comparison the time per line
// of a walk through the 50,000 entries.

#include "livecheck/CalendarList.h"
#include "livecheck/CallsignIndex.h"
#include "livecheck/LiveCheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace {

QString randomCall(QRandomGenerator& r)
{
    static const char* const prefixes[] = {"K", "W", "DL", "G", "JA", "VK", "EA", "3Y", "VP8", "FT8"};
    QString call = QLatin1String(prefixes[r.bounded(int(std::size(prefixes)))]);
    call += QString::number(r.bounded(10));
    for (int i = 0, n = 1 + r.bounded(3); i < n; ++i)
        call += QChar(u'A' + r.bounded(26));
    return call;
}

// A calendar list of exactly `entries`, built from calendar text lines.
QStringList calendarOf(int entries, QRandomGenerator& r)
{
    QStringList lines = {"DX calendar", "December 2026", "Demo"};
    qsizetype count = 0;
    while (true) {
        const QString line = QStringLiteral("%1 Dec - %2 Dec %3 Island, CW SSB FT8")
                                 .arg(1 + r.bounded(28))
                                 .arg(1 + r.bounded(28))
                                 .arg(randomCall(r));
        const qsizetype more = CalendarList::separa({"", "", "", line, ""}).size();
        if (count + more > entries)
            break;
        lines << line;
        count += more;
    }
    lines << QString();
    QStringList list = CalendarList::separa(lines);
    // Top up with single entries to the exact count.
    while (list.size() < entries)
        list << randomCall(r);
    return list;
}

QStringList spotLines(int n, const QStringList& calendar, QRandomGenerator& r)
{
    QStringList lines;
    lines.reserve(n);
    for (int i = 0; i < n; ++i) {
        // One line in ten spots something of the calendar.
        const QString call = (i % 10 == 0) ? calendar.at(r.bounded(int(calendar.size())))
                                            : randomCall(r);
        lines << QStringLiteral("DX de W3LPL:     14025.0  %1 CW 599").arg(call.leftJustified(12)).left(60);
    }
    return lines;
}

double nsPerLine(const QStringList& lines, const CallsignIndex& index, int& hits)
{
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        hits = 0;
        QElapsedTimer t;
        t.start();
        for (const QString& line : lines)
            hits += LiveCheck::verifica(line, index).trovatouguale;
        best = std::min(best, double(t.nsecsElapsed()) / lines.size());
    }
    return best;
}

// The walk the check used to make: entry by entry, A-Z and a-z alike.
double nsPerLineScan(const QStringList& lines, const QStringList& list)
{
    QElapsedTimer t;
    t.start();
    int hits = 0;
    for (const QString& line : lines) {
        const QString call = LiveCheck::verifica(line, CallsignIndex()).resultString;
        const QString folded = CallsignIndex::fold(call);
        for (const QString& entry : list) {
            if (CallsignIndex::fold(entry) == folded) {
                ++hits;
                break;
            }
        }
    }
    Q_UNUSED(hits);
    return double(t.nsecsElapsed()) / lines.size();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 200000;
    QRandomGenerator r(8);

    const QStringList small = calendarOf(100, r);
    const QStringList large = calendarOf(50000, r);
    const QStringList linesSmall = spotLines(n, small, r);
    const QStringList linesLarge = spotLines(n, large, r);

    QElapsedTimer build;
    build.start();
    const CallsignIndex indexLarge(large);
    const double buildMs = build.nsecsElapsed() / 1e6;
    const CallsignIndex indexSmall(small);

    int hitsSmall = 0, hitsLarge = 0;
    const double costSmall = nsPerLine(linesSmall, indexSmall, hitsSmall);
    const double costLarge = nsPerLine(linesLarge, indexLarge, hitsLarge);
    const double scanLarge = nsPerLineScan(linesLarge.mid(0, 2000), large);

    std::printf("lines checked per run:               %d\n", n);
    std::printf("100 calendar entries:                %.0f ns per line (%d hits)\n", costSmall,
                hitsSmall);
    std::printf("50,000 calendar entries:             %.0f ns per line (%d hits)\n", costLarge,
                hitsLarge);
    std::printf("ratio 50,000 / 100:                  %.2f (goal: at most 2)\n",
                costLarge / costSmall);
    std::printf("index of 50,000 entries built in:    %.1f ms\n", buildMs);
    std::printf("walk of 50,000 entries, for scale:   %.0f ns per line\n", scanLarge);
    return costLarge / costSmall <= 2.0 ? 0 : 1;
}
