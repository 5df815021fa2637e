// The user's log: reading a 100,000-QSO ADI file into the index the spots
// are judged by, and one status lookup per spot.
//
//   bench_log [QSOs]
//
// The file is written first, as a logger exports it: some twenty fields a
// QSO (times, reports, QSL states, station data, an APP_ field), the calls
// drawn from the 85,000 real calls of MASTER.SCP (hamradio-files), half of
// the records with their DXCC code, the rest resolved through Debian's
// cty.dat. Goals: the file read and indexed in at most 1 s, with at most
// 50 MB more memory at the peak; a lookup in at most 1 microsecond. Exits 1
// when a goal is missed.

#include "dxcc/CountryFile.h"
#include "log/DxccEntities.h"
#include "log/LogFile.h"
#include "spots/Spot.h"

#include "ProcessMemory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

QByteArray field(const char* name, const QByteArray& value)
{
    return '<' + QByteArray(name) + ':' + QByteArray::number(value.size()) + '>' + value + ' ';
}

struct BandRow
{
    const char* band;
    double cwMhz;
    double phoneMhz;
    double ft8Mhz;
};

constexpr BandRow kBands[] = {
    {"160m", 1.822, 1.845, 1.840},   {"80m", 3.512, 3.780, 3.573},
    {"40m", 7.012, 7.150, 7.074},    {"30m", 10.112, 10.136, 10.136},
    {"20m", 14.012, 14.205, 14.074}, {"17m", 18.075, 18.140, 18.100},
    {"15m", 21.012, 21.250, 21.074}, {"12m", 24.895, 24.950, 24.915},
    {"10m", 28.012, 28.450, 28.074}, {"6m", 50.090, 50.150, 50.313},
};

// Writes the log record by record, so that making it costs no memory the
// reading is then charged with. Returns the file's size.
qint64 writeLog(const QString& path, const QStringList& calls, int count)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return -1;
    f.write("Log exported for the benchmark\n" + field("ADIF_VER", "3.1.4") +
            field("PROGRAMID", "BENCH") + "<EOH>\n");
    QRandomGenerator r(32);
    const QList<int> codes = DxccEntities::codes();
    for (int i = 0; i < count; ++i) {
        const BandRow& b = kBands[r.bounded(int(std::size(kBands)))];
        const int m = r.bounded(3);
        const QByteArray call = calls[r.bounded(int(calls.size()))].toLatin1();
        const QDate date = QDate(2000, 1, 1).addDays(r.bounded(9000));
        QByteArray rec;
        rec += field("CALL", call);
        rec += field("QSO_DATE", date.toString(QStringLiteral("yyyyMMdd")).toLatin1());
        rec += field("TIME_ON", "1205" + QByteArray::number(10 + r.bounded(50)));
        rec += field("TIME_OFF", "120712");
        rec += field("BAND", b.band);
        const double mhz = m == 0 ? b.cwMhz : m == 1 ? b.phoneMhz : b.ft8Mhz;
        rec += field("FREQ", QByteArray::number(mhz, 'f', 6));
        rec += field("MODE", m == 0 ? "CW" : m == 1 ? "SSB" : r.bounded(2) ? "FT8" : "MFSK");
        if (m == 2 && rec.contains("MFSK"))
            rec += field("SUBMODE", "FT4");
        rec += field("RST_SENT", m == 0 ? "599" : m == 1 ? "59" : "-08");
        rec += field("RST_RCVD", m == 0 ? "579" : m == 1 ? "57" : "-12");
        if (i % 2 == 0)
            rec += field("DXCC", QByteArray::number(codes[r.bounded(int(codes.size()))]));
        rec += field("GRIDSQUARE", "FN42");
        rec += field("NAME", "Op");
        rec += field("QSL_SENT", "Y");
        rec += field("QSL_RCVD", r.bounded(5) == 0 ? "Y" : "N");
        rec += field("LOTW_QSL_SENT", "Y");
        rec += field("LOTW_QSL_RCVD", r.bounded(2) ? "Y" : "N");
        rec += field("EQSL_QSL_RCVD", r.bounded(3) ? "Y" : "N");
        rec += field("STATION_CALLSIGN", "DL1XYZ");
        rec += field("MY_GRIDSQUARE", "JO31LK");
        rec += field("TX_PWR", "100");
        rec += field("APP_BENCH_QSOID", QByteArray::number(i));
        rec += "<EOR>\n";
        f.write(rec);
    }
    return f.size();
}

// This thread's CPU time in ms: what the work cost, whatever else the
// machine runs at the time.
double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// The peak of resident memory is measured from here on.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;

    const CountryFile::Loaded countries = CountryFile::load({CountryFile::systemPath()});
    QFile scp(QStringLiteral("/usr/share/hamradio-files/MASTER.SCP"));
    if (countries.table.isEmpty() || !scp.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "needs cty.dat and MASTER.SCP of hamradio-files\n");
        return 1;
    }
    QStringList calls;
    for (const QByteArray& line : scp.readAll().split('\n')) {
        if (!line.trimmed().isEmpty() && !line.startsWith('#'))
            calls << QString::fromLatin1(line.trimmed());
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.adi"));
    const qint64 bytes = writeLog(path, calls, count);
    std::printf("log: %d QSOs, %.1f MB (%lld bytes a QSO)\n", count, bytes / 1e6,
                qlonglong(bytes / qMax(1, count)));

    // Reading: the median of 5 runs, in wall-clock and CPU time; memory of
    // the first.
    QList<double> ms, cpu;
    double peakMb = 0;
    LogFile::Loaded loaded;
    for (int run = 0; run < 5; ++run) {
        loaded = {};
        const qint64 before = ProcessMemory::residentBytes();
        resetPeak();
        QElapsedTimer t;
        t.start();
        const double cpuStart = cpuMs();
        loaded = LogFile::load(path, LogOptions(), countries.table);
        cpu << cpuMs() - cpuStart;
        ms << t.nsecsElapsed() / 1e6;
        if (run == 0)
            peakMb = (ProcessMemory::peakResidentBytes() - before) / 1e6;
    }
    if (!loaded.index) {
        std::fprintf(stderr, "the log did not read: %s\n", qPrintable(loaded.error));
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    const LogIndex& index = *loaded.index;
    std::printf("read: median %.0f ms (CPU %.0f ms), best %.0f ms (goal <= 1000); peak memory "
                "+%.1f MB (goal <= 50)\n  %s\n",
                ms[ms.size() / 2], cpu[cpu.size() / 2], ms.first(), peakMb,
                qPrintable(LogIndex::summaryLine(index.summary())));

    // Lookups: spots of real calls, the country resolved once per spot as
    // the spot pipeline does; only the status is timed.
    struct Probe
    {
        Spot spot;
        CountryInfo entity;
    };
    QList<Probe> probes;
    QRandomGenerator r(7);
    for (int i = 0; i < 20000; ++i) {
        Probe p;
        p.spot.call = calls[r.bounded(int(calls.size()))];
        p.spot.band =
            BandPlan::fromName(QString::fromLatin1(kBands[r.bounded(int(std::size(kBands)))].band));
        p.spot.group = ModeGroup(r.bounded(4));
        const std::optional<CountryInfo> info = countries.table.lookup(p.spot.call);
        if (!info)
            continue;
        p.entity = *info;
        probes << p;
    }
    int kinds[SpotStatus::KindCount] = {};
    qint64 lookups = 0;
    QElapsedTimer t;
    t.start();
    const double cpuStart = cpuMs();
    while (t.elapsed() < 2000) {
        for (const Probe& p : probes) {
            const std::optional<SpotStatus> s = index.status(p.spot, p.entity);
            ++kinds[s ? int(s->kind) : 0];
        }
        lookups += probes.size();
    }
    const double ns = double(t.nsecsElapsed()) / double(lookups);
    const double cpuNs = (cpuMs() - cpuStart) * 1e6 / double(lookups);
    std::printf("lookup: %lld lookups, mean %.0f ns (CPU %.0f ns; goal <= 1000); of the spots:",
                lookups, ns, cpuNs);
    for (int k = 0; k < SpotStatus::KindCount; ++k)
        std::printf(" %s %.0f%%", qPrintable(SpotStatus::textOf(SpotStatus::Kind(k))),
                    100.0 * kinds[k] / double(lookups));
    std::printf("\n");
    // On a machine busy with other work the CPU time is what tells.
    const bool met = qMin(ms[ms.size() / 2], cpu[cpu.size() / 2]) <= 1000 && peakMb <= 50 &&
                     qMin(ns, cpuNs) <= 1000;
    return met ? 0 : 1;
}
