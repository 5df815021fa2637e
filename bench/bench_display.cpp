// What the program costs on a real X display: the real main window, fed by
// the cluster node simulator at 20, 100 and 500 lines a second, and the time
// from the exec of the program to its main window on screen.
//   xvfb-run -a -s '-screen 0 1280x1024x24' ./bench_display [seconds per rate [rates...]]
// Naming rates runs only those (no idle run); MARVIX_BENCH_NO_STARTUP=1
// leaves out the start-up runs.
// It starts the simulator, the web host and the program of its own build
// folder. CPU time is this process's own, read from /proc/self/stat, so the
// simulator and the X server are not counted.
#include "MainWindowFixture.h"
#include "TestContext.h"

#include "app/Tform1.h"
#include "session/TerminalPane.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// utime + stime of this process, in milliseconds.
double cpuMs()
{
    std::ifstream f("/proc/self/stat");
    std::string all((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    // The command name may hold blanks; the fields after it start at ") ".
    const auto close = all.rfind(')');
    std::istringstream rest(all.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14)
            utime = std::stoull(field);
        if (i == 15)
            stime = std::stoull(field);
    }
    return (utime + stime) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Starts a helper and waits for a line of its output that matches.
QString startAndWait(QProcess& p, const QString& program, const QStringList& args,
                     const QRegularExpression& wanted)
{
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    QString seen;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
        p.waitForReadyRead(100);
        seen += QString::fromLocal8Bit(p.readAll());
        const QRegularExpressionMatch m = wanted.match(seen);
        if (m.hasMatch())
            return m.captured(1);
    }
    std::fprintf(stderr, "%s did not start: %s\n", qPrintable(program), qPrintable(seen));
    std::exit(1);
}

struct RateResult
{
    int rate = 0;
    int lines = 0;
    double cpu = 0;
    double msPer1000() const { return lines > 0 ? cpu * 1000.0 / lines : 0; }
};

RateResult runRate(int rate, int seconds)
{
    QProcess sim;
    const QString port = startAndWait(
        sim, QStringLiteral(MARVIX_SIM_PROGRAM),
        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--rate"),
         QString::number(rate), QStringLiteral("--seed"), QStringLiteral("15")},
        QRegularExpression(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)")));

    TestContext tc;
    AppContext ctx = tc.make();
    ctx.timings = SessionTimings{}; // the program's own timer intervals
    auto form = std::make_unique<Tform1>(ctx);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        std::fprintf(stderr, "the window was not exposed\n");
    MainWindowFixture::chooseNode(*form, QStringLiteral("127.0.0.1"), port);
    form->BitBtn2Click();
    if (!QTest::qWaitFor([&] { return form->isConnected(); }, 5000)) {
        std::fprintf(stderr, "no connection to the simulator\n");
        std::exit(1);
    }
    form->EditCommand->setText(QStringLiteral("N0CALL"));
    form->BitBtn5Click();
    QTest::qWait(1500); // login lines, then the stream runs

    const int lines0 = form->countedLines();
    const double cpu0 = cpuMs();
    // A plain event loop, as the program runs (QTest::qWait polls).
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    RateResult r;
    r.rate = rate;
    r.cpu = cpuMs() - cpu0;
    r.lines = form->countedLines() - lines0;
    form->BitBtn3Click();
    QTest::qWait(200);
    form.reset();
    sim.terminate();
    sim.waitForFinished(3000);
    return r;
}

// Watches the X server for the program's main window being mapped.
class MapWatch : public QAbstractNativeEventFilter
{
public:
    explicit MapWatch(xcb_connection_t* c) : m_c(c)
    {
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        m_root = screen->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(c, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(c);
    }
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override
    {
        auto* ev = static_cast<xcb_generic_event_t*>(message);
        if ((ev->response_type & 0x7F) != XCB_MAP_NOTIFY)
            return false;
        const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(ev);
        if (!mapped.isValid() && titleOf(map->window).startsWith(QLatin1String("Marvix Terminal")))
            mapped.start();
        return false;
    }
    QElapsedTimer mapped; // started when the window was seen

private:
    QString titleOf(xcb_window_t w)
    {
        xcb_get_property_cookie_t ck =
            xcb_get_property(m_c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
        xcb_get_property_reply_t* r = xcb_get_property_reply(m_c, ck, nullptr);
        QString t;
        if (r) {
            t = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(r)),
                                  xcb_get_property_value_length(r));
            free(r);
        }
        return t;
    }
    xcb_connection_t* m_c;
    xcb_window_t m_root = 0;
};

QList<double> measureStartUp(int runs)
{
    QProcess web;
    QTemporaryDir dir;
    const QString hostsFile = dir.filePath(QStringLiteral("hosts.ini"));
    startAndWait(web, QStringLiteral(MARVIX_WEBHOST_PROGRAM),
                 {QStringLiteral("--list"),
                  QStringLiteral(MARVIX_SOURCE_DIR "/resources/demo/listadxdolv.txt"),
                  QStringLiteral("--hosts-file"), hostsFile},
                 QRegularExpression(QStringLiteral("(ready)")));
    // The program keeps settings.ini beside itself, so it runs from a copy.
    const QString exe = dir.filePath(QStringLiteral("marvix-terminal"));
    QFile::copy(QStringLiteral(MARVIX_PROGRAM), exe);
    QFile::copy(QStringLiteral(MARVIX_SOURCE_DIR "/resources/nodes.txt"),
                dir.filePath(QStringLiteral("nodes.txt")));
    QFile::copy(QStringLiteral(MARVIX_SOURCE_DIR "/resources/dx.wav"),
                dir.filePath(QStringLiteral("dx.wav")));
    QFile hosts(hostsFile);
    hosts.open(QIODevice::ReadOnly);
    QFile settings(dir.filePath(QStringLiteral("settings.ini")));
    settings.open(QIODevice::WriteOnly);
    settings.write(hosts.readAll().replace("\n", "\r\n"));
    settings.close();

    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    MapWatch watch(x11->connection());
    qApp->installNativeEventFilter(&watch);
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        watch.mapped.invalidate();
        QProcess p;
        p.setWorkingDirectory(dir.path());
        QElapsedTimer t;
        t.start();
        p.start(exe, {});
        (void)QTest::qWaitFor([&] { return watch.mapped.isValid(); }, 20000);
        if (watch.mapped.isValid())
            times << (t.nsecsElapsed() - watch.mapped.nsecsElapsed()) / 1e6;
        else
            std::fprintf(stderr, "start %d: no main window within 20 s\n", i + 1);
        p.terminate();
        p.waitForFinished(5000);
    }
    qApp->removeNativeEventFilter(&watch);
    web.terminate();
    web.waitForFinished(3000);
    return times;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "run under an X server: xvfb-run -a %s\n", argv[0]);
        return 2;
    }
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const bool startUp = !qEnvironmentVariableIsSet("MARVIX_BENCH_NO_STARTUP");

    if (startUp) {
        QList<double> starts = measureStartUp(5);
        std::sort(starts.begin(), starts.end());
        std::printf("start-up, exec to main window (5 runs):");
        for (double s : starts)
            std::printf(" %.0f", s);
        std::printf(" ms; median %.0f ms (goal <= 1300)\n",
                    starts.isEmpty() ? 0.0 : starts.at(starts.size() / 2));
        std::fflush(stdout);
    }

    QList<int> rates;
    for (int i = 2; i < argc; ++i)
        rates << std::atoi(argv[i]);
    if (rates.isEmpty()) {
        const RateResult idle = runRate(0, seconds);
        std::printf("idle, logged in:  %8.0f ms CPU in %d s\n", idle.cpu, seconds);
        std::fflush(stdout);
        rates = {20, 100, 500};
    }

    double worst = 0;
    double at500 = 0;
    for (int rate : rates) {
        const RateResult r = runRate(rate, seconds);
        std::printf("%3d lines/s for %d s: %6d lines, %8.0f ms CPU, %6.0f ms per 1000 lines\n",
                    r.rate, seconds, r.lines, r.cpu, r.msPer1000());
        std::fflush(stdout);
        worst = std::max(worst, r.msPer1000());
        if (rate == 500)
            at500 = r.msPer1000();
    }
    std::printf("worst rate %.0f ms per 1000 lines (goal <= 350, and none above the 500/s "
                "figure %.0f)\n",
                worst, at500);
    return 0;
}
