// The cost of reading a spot from a node line by its words, on the layouts
// real nodes send: DXSpider, AR-Cluster, CC Cluster with two decimals,
// skimmer spots, long spotters and calls, 9-character frequencies, BELs.
//
//   bench_spot_reader [lines]
//
// Prints the CPU time per line of SpotReader::read (goal: at most 1 us), of
// NodeLine::read on a mix with the node's other lines, and for comparison
// of the DX window's reading of a spot line (SpotFields::read and
// SpotMode::of, by patterns). Exits 1 when the goal is missed.

#include "dxcc/SpotFields.h"
#include "dxcc/SpotMode.h"
#include "spots/NodeLine.h"
#include "spots/SpotReader.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

// %1 is the spotted call, padded as the node pads it.
const char* const kSpotLayouts[] = {
    "DX de W3LPL:     21021.0  %1 CW 579 up 2                    0712Z",
    "DX de VE7CC-1:  21057.61 %1 599                            1733Z",
    "DX de OH2BH:     1812.79 %1 tnx QSO                        2101Z",
    "DX de DL1ABC:   14025.00 %1 CW 599                         0815Z",
    "DX de G4ABC:     10137.0  %1 FT8 -12 dB                     1200Z",
    "DX de DK9IP-#:   14023.8  %1 CW 19 dB 18 WPM CQ             0712Z",
    "DX de KM3T-#:    14074.0  %1 FT8 -12 dB GG66 CQ             1201Z",
    "DX de 3V/KF5EYY-#:7018.0  %1 CW 12 dB 22 WPM CQ             0713Z",
    "DX de OH6BG-#:    7018.0  %1 CW 14 dB 26 WPM CQ             0715Z KP23",
    "DX de K1TTT:     14025.0  %1 CW 599                         0816Z MA",
    "DX de N1MM:      14195.0  %1 up 5-10                        1420Z",
    "DX de W6RK:    1296200.0  %1 EME JT65 -24                   2232Z",
    "DX de DL7APV: 10368887.0  %1 CW EME 559                     1801Z",
    "DX de W3LPL:     21021.0  %1 CW 579 up 2                    0712Z\a\a",
    "DX de EA3XU:     50313.0  %1 FT8 JN11cl<ES>GG66rm           1802Z JN11",
    "DX de W3OA-#:    14100.0  %1 CW 5 dB 22 WPM NCDXF B         0716Z",
    "DX de IK4VYX:     3795.0  %1 LSB QSX 3.805 pse             2210Z",
    "DX de F5IN:      28495.0  %1 USB tnx for QSO 73            1133Z",
};

const char* const kOtherLines[] = {
    "WWV de W0MU <21>:   SFI=118, A=8, K=2, No Storms -> Minor w/G1",
    "WCY de DK0WCY-1 <12> : K=2 expK=0 A=13 R=12 SFI=72 SA=qui GMF=qui Au=no",
    "To ALL de EA8ABC: Contest starts at 0000Z, pse QRX on 14025",
    "  14222.0  9L5M         4-Dec-2023 1655Z  TNX                          <EB1DJ>",
    "G1TLH de GB7DJK  7-Feb-2022 1357Z dxspider >",
};

QString randomCall(QRandomGenerator& r)
{
    static const char* const prefixes[] = {"K",   "W",   "DL",  "G",   "JA",  "VK9/DL", "EA8",
                                           "3Y0", "VP8", "FT8", "ZS6", "PY2", "VK9/G"};
    QString call = QLatin1String(prefixes[r.bounded(int(std::size(prefixes)))]);
    call += QString::number(r.bounded(10));
    for (int i = 0, n = 1 + r.bounded(3); i < n; ++i)
        call += QChar(u'A' + r.bounded(26));
    if (r.bounded(20) == 0)
        call += QLatin1String("/MM");
    return call;
}

QStringList spotLines(int n, QRandomGenerator& r)
{
    QStringList lines;
    lines.reserve(n);
    for (int i = 0; i < n; ++i) {
        const char* layout = kSpotLayouts[r.bounded(int(std::size(kSpotLayouts)))];
        lines << QString::fromLatin1(layout).arg(randomCall(r).leftJustified(12));
    }
    return lines;
}

qint64 threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// The best of five passes, in ns of this thread's CPU per line: on a
// machine that other work shares, the wall clock would count their time.
template <typename Read> double nsPerLine(const QStringList& lines, Read read, int& count)
{
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        count = 0;
        const qint64 start = threadCpuNs();
        for (const QString& line : lines)
            count += read(line);
        best = std::min(best, double(threadCpuNs() - start) / lines.size());
    }
    return best;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 200000;
    QRandomGenerator r(31);
    const QStringList spots = spotLines(n, r);
    QStringList mixed = spots;
    for (int i = 0; i < mixed.size(); i += 4)
        mixed[i] = QString::fromLatin1(kOtherLines[(i / 4) % std::size(kOtherLines)]);

    const SpotReader reader;
    int read = 0;
    const double spotCost = nsPerLine(
        spots, [&](const QString& line) { return reader.read(line) ? 1 : 0; }, read);
    int kinds = 0;
    const double mixedCost = nsPerLine(
        mixed,
        [&](const QString& line) {
            return NodeLine::read(line, reader).kind != NodeLine::Kind::Other ? 1 : 0;
        },
        kinds);
    int old = 0;
    const double oldCost = nsPerLine(
        spots,
        [&](const QString& line) {
            const std::optional<SpotFields> f = SpotFields::read(line);
            return f && !SpotMode::of(f->comment, f->frequency).isEmpty() ? 1 : 0;
        },
        old);

    std::printf("spot lines per pass:                  %d (%d read as spots)\n", n, read);
    std::printf("SpotReader::read:                     %.0f ns per line (goal: at most 1000)\n",
                spotCost);
    std::printf("NodeLine::read, 1 line in 4 no spot:  %.0f ns per line (%d of a known kind)\n",
                mixedCost, kinds);
    std::printf("SpotFields::read + SpotMode::of:      %.0f ns per line, for comparison\n",
                oldCost);
    return read == n && spotCost <= 1000.0 ? 0 : 1;
}
