// The DX window under a stream of spots, offscreen: CPU time per spot line
// into the model with the window open and painting, at 100 and 1,000 lines
// a second, and the resident memory over a replay of 3,000,000 lines (the
// clock runs 1,000 lines a second, so the 30-minute age window fills after
// 1.8 million and memory should stay flat from there).
//
// First, alerts with the window and its list of 1,000 alerts open: a burst
// of 5,000 distinct spots that each fire a rule `Call=*`, fed as a node's
// burst reaches the program (40 lines a read), then three such rules at a
// steady 50 spots a second for 10 s. For each, how long the event loop is
// held at most (the longest wait of a 1 ms timer: what a click waits for),
// the sum of the waits over 50 ms, and the time to take the spots in.
// `burst` runs only these. With the accessibility bridge on (an AT-SPI bus,
// the bridge forced on):
//
//   bench_dx_window [seconds per rate] [replay lines]
//   bench_dx_window burst
//   xvfb-run -a dbus-run-session -- sh -c 'dbus-send --session \
//       --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress &&
//       QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 bench_dx_window burst'

#include "alerts/AlertCenter.h"
#include "activedx/ActiveDxModel.h"
#include "dxcc/CountryFile.h"
#include "windows/DxWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <cstdio>
#include <utility>

namespace {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
           + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long rssKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Spot lines of many entities: real prefixes, random suffixes, the bands'
// CW and phone segments.
class Lines
{
public:
    QString next()
    {
        static const char* const prefixes[] = {"K", "W", "DL", "G", "F", "I", "EA", "EA8", "JA",
                                               "VK", "ZL", "PY", "LU", "UA", "SP", "OH", "VE",
                                               "ZS", "5B", "9A", "PA", "CT", "KL7", "KH6", "VP9",
                                               "3Y0", "FT8W", "VU", "4X", "A6"};
        static const int khz[] = {1820, 3520, 7020, 10110, 14020, 14200, 18080, 21020, 21250,
                                  24900, 28020, 28500, 50100};
        static const char* const comments[] = {"CW 599", "up 2", "FT8 -12 dB", "SSB 59", "RTTY",
                                               "tnx QSO", "CW 22 dB 25 WPM CQ", ""};
        QString call = QLatin1String(prefixes[m_r.bounded(int(std::size(prefixes)))]);
        call += QString::number(m_r.bounded(10));
        for (int i = 0, n = 1 + m_r.bounded(3); i < n; ++i)
            call += QChar(u'A' + m_r.bounded(26));
        const QString f = QString::number(khz[m_r.bounded(int(std::size(khz)))] + m_r.bounded(30))
                          + QStringLiteral(".0");
        QString line = QStringLiteral("DX de W3LPL:").leftJustified(24 - f.size()) + f;
        line += QStringLiteral("  ") + call.leftJustified(12) + u' '
                + QString::fromLatin1(comments[m_r.bounded(int(std::size(comments)))]).leftJustified(30)
                + QStringLiteral(" 1200Z");
        return line;
    }

private:
    QRandomGenerator m_r{20261210};
};

// "DX de W3LPL:     14025.0  K1AAA        CW 599   1200Z", each call new.
QString distinctSpot(int n)
{
    QString call = QStringLiteral("K") + QString::number(n % 10);
    for (int i = n / 10, k = 0; k < 3; ++k, i /= 26)
        call += QChar(u'A' + i % 26);
    const QString f = QString::number(14000 + n % 300) + QStringLiteral(".0");
    return QStringLiteral("DX de W3LPL:").leftJustified(24 - f.size()) + f + QStringLiteral("  ")
           + call.leftJustified(12) + u' ' + QStringLiteral("CW 599").leftJustified(30)
           + QStringLiteral(" 1200Z");
}

// spots distinct spots, perRead of them every readEveryMs (0: as fast as
// the event loop turns), each firing every one of rules rules `Call=*`.
void alerting(const CountryFile::Loaded& countries, const char* what, int rules, int spots,
              int perRead, int readEveryMs)
{
    QTemporaryDir dir;
    {
        QFile file(dir.filePath(QStringLiteral("alerts.ini")));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write alerts.ini");
        for (int r = 1; r <= rules; ++r)
            file.write(QStringLiteral("[Rule%1]\r\nName=All %1\r\nOn=1\r\nCall=*\r\n")
                           .arg(r)
                           .toLatin1());
    }
    const auto table = std::make_shared<const CountryTable>(countries.table);
    AlertCenter::Setup setup;
    setup.alertsPath = dir.filePath(QStringLiteral("alerts.ini"));
    setup.settingsPath = dir.filePath(QStringLiteral("settings.ini"));
    setup.soundDir = dir.path();
    setup.countries = table;
    setup.nowUtc = [] { return QDateTime::currentDateTimeUtc(); };
    AlertCenter alerts(setup);
    ActiveDxModel model;
    model.setCountryTable(table);
    DxWindow window(&model, dir.path(), QString(), alerts.log());
    window.show();
    QElapsedTimer warm;
    warm.start();
    while (warm.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    // A full list first, as after an evening of alerts.
    for (int i = 0; i < AlertCenter::kLogMax; ++i)
        alerts.spotShown(distinctSpot(spots + i), true);
    while (warm.elapsed() < 600)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    QElapsedTimer wall;
    wall.start();
    qint64 lastProbe = 0;
    qint64 longest = 0;
    qint64 blocked = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = wall.elapsed();
        const qint64 gap = now - lastProbe;
        lastProbe = now;
        longest = qMax(longest, gap);
        if (gap > 50)
            blocked += gap;
    });
    probe.start(1);
    int fed = 0;
    qint64 takenMs = -1;
    QTimer read;
    read.setTimerType(Qt::PreciseTimer);
    QObject::connect(&read, &QTimer::timeout, [&] {
        for (int i = 0; i < perRead && fed < spots; ++i, ++fed) {
            const QString line = distinctSpot(fed);
            model.addLine(line, QDateTime::currentDateTimeUtc());
            alerts.spotShown(line, true);
        }
        if (fed == spots && takenMs < 0) {
            takenMs = wall.elapsed();
            read.stop();
            // A second more, for what the window does after the spots.
            QTimer::singleShot(1000, qApp, &QCoreApplication::quit);
        }
    });
    read.start(readEveryMs);
    qApp->exec();
    std::printf("%s, accessibility %s: taken in %lld ms, event loop held at most %lld ms, "
                "%lld ms in waits over 50 ms\n",
                what, QAccessible::isActive() ? "on" : "off", takenMs, longest, blocked);
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // lines show as they come, also into a pipe
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int seconds = args.size() > 1 ? args[1].toInt() : 10;
    const qint64 replay = args.size() > 2 ? args[2].toLongLong() : 3000000;

    QTemporaryDir dir;
    const CountryFile::Loaded countries = CountryFile::load({CountryFile::systemPath()});
    alerting(countries, "burst of 5000 spots, rule Call=*, 40 a read", 1, 5000, 40, 0);
    alerting(countries, "3 rules Call=*, 50 spots a second for 10 s", 3, 500, 1, 20);
    if (args.value(1) == u"burst")
        return 0;
    ActiveDxModel model;
    model.setCountryTable(std::make_shared<const CountryTable>(countries.table));
    model.setLocator(QStringLiteral("JO31lk"));
    DxWindow window(&model, dir.path(), CountryFile::describe(countries, dir.path()));
    window.show();
    // The first paint and the fonts are set up before anything is measured.
    QElapsedTimer warm;
    warm.start();
    while (warm.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    Lines lines;

    // Paced feeds: the lines of one 10 ms tick at a time, clock real. The
    // first round only warms up: the first hundreds of rows cost about a
    // second of CPU once (column and header set-up, glyphs).
    bool warmUp = true;
    for (const int rate : {100, 100, 1000}) {
        qint64 fed = 0;
        QElapsedTimer wall;
        wall.start();
        const double cpu0 = cpuSeconds();
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 due = wall.elapsed() * rate / 1000;
            for (; fed < due; ++fed)
                model.addLine(lines.next(), QDateTime::currentDateTimeUtc());
            if (wall.elapsed() >= seconds * 1000)
                app.quit();
        });
        tick.start(10);
        app.exec();
        const double cpu = cpuSeconds() - cpu0;
        if (std::exchange(warmUp, false))
            continue;
        std::printf("%4d lines/s for %d s, window open: %lld lines, %.1f us CPU per line "
                    "(%.1f%% of a core), %d rows\n",
                    rate, seconds, fed, cpu * 1e6 / double(fed), cpu * 100.0 / seconds,
                    model.rowCount());
    }

    // The replay: as fast as it goes, the clock 1 ms per line, events
    // (and so repaints) handled every 1,000 lines.
    QDateTime clock = QDateTime::currentDateTimeUtc();
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuSeconds();
    for (qint64 i = 1; i <= replay; ++i) {
        model.addLine(lines.next(), clock);
        clock = clock.addMSecs(1);
        if (i % 1000 == 0)
            QCoreApplication::processEvents();
        if (i % 500000 == 0 || i == replay)
            std::printf("replay %7lld lines: %d rows, RSS %ld KiB\n", i, model.rowCount(), rssKb());
    }
    const double cpu = cpuSeconds() - cpu0;
    std::printf("replay: %.1f us CPU per line, %.1f s wall\n", cpu * 1e6 / double(replay),
                wall.elapsed() / 1000.0);
    return 0;
}
