// The country file: how long reading and parsing cty.dat takes, and the
// mean time of one callsign lookup.
//
//   bench_dxcc [cty.dat] [calls file]
//
// The calls are the 85,000 real contest calls of MASTER.SCP from the same
// package (hamradio-files), the kind of calls the spots carry, with their
// /P and /QRP forms. Goals: the file in at most 50 ms, a lookup in at most
// 1 microsecond on average.

#include "dxcc/CountryFile.h"
#include "dxcc/CountryTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString ctyPath = args.size() > 1 ? args[1] : CountryFile::systemPath();
    const QString callsPath =
        args.size() > 2 ? args[2] : QStringLiteral("/usr/share/hamradio-files/MASTER.SCP");

    // Loading: the median of 21 runs.
    QList<double> ms;
    CountryFile::Loaded loaded;
    for (int i = 0; i < 21; ++i) {
        QElapsedTimer t;
        t.start();
        loaded = CountryFile::load({ctyPath});
        ms << t.nsecsElapsed() / 1e6;
    }
    if (loaded.table.isEmpty()) {
        std::fprintf(stderr, "cannot use %s\n", qPrintable(ctyPath));
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("load %s (edition %s, %d entities): median %.2f ms, best %.2f ms (goal <= 50)\n",
                qPrintable(ctyPath), qPrintable(loaded.table.version()),
                loaded.table.entityCount(), ms[ms.size() / 2], ms.first());

    QFile f(callsPath);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(callsPath));
        return 1;
    }
    QStringList calls;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QByteArray call = line.trimmed();
        if (!call.isEmpty() && !call.startsWith('#'))
            calls << QString::fromLatin1(call);
    }

    int found = 0;
    for (const QString& c : calls)
        found += loaded.table.lookup(c).has_value();

    // Lookups: rounds over all calls for at least two seconds.
    qint64 lookups = 0;
    int sink = 0;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 2000) {
        for (const QString& c : calls) {
            const std::optional<CountryInfo> info = loaded.table.lookup(c);
            sink += info ? info->cqZone : 0;
        }
        lookups += calls.size();
    }
    const double ns = double(t.nsecsElapsed()) / double(lookups);
    std::printf("lookup: %lld lookups of %lld real calls (%d found), mean %.0f ns (goal <= 1000)%s\n",
                lookups, qlonglong(calls.size()), found, ns, sink == 42 ? " " : "");
    return 0;
}
