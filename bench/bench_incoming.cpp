// Feeds node output through the real incoming-text handler into the real
// terminal pane and reports speed and memory.
//   ./bench_incoming contest [lines]   a contest weekend (default 3,000,000 lines)
//   ./bench_incoming endless [MB]      a node that never ends its line (default 50)
// Each run is its own process, so that its peak memory is its own.
// With a screen reader's bridge active (the panes then announce their text),
// on a display and a session bus of their own:
//   QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb dbus-run-session -- bash -c
//   'dbus-send --session --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress;
//    xvfb-run -a ./bench_incoming contest 210000'
// (the first call starts the accessibility bus, which the bridge needs).
#include "FakeClusterNode.h"
#include "MainWindowFixture.h"
#include "TestContext.h"

#include "app/Tform1.h"
#include "net/TIdTelnet.h"
#include "session/LineAssembler.h"
#include "session/TerminalPane.h"
#include "spots/BandStrip.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <fstream>
#include <string>

namespace {

long statusKb(const char* key)
{
    std::ifstream f("/proc/self/status");
    std::string l;
    const std::string k = key;
    while (std::getline(f, l)) {
        if (l.rfind(k, 0) == 0)
            return std::stol(l.substr(k.size()));
    }
    return 0;
}

long peakRssKb()
{
    return statusKb("VmHWM:");
}

QByteArray nodeLine(QRandomGenerator& rng, int i)
{
    static const char* spotters[] = {
        "W3LPL:", "DL1ABC:", "KO7SS-7-#:", "JA1XYZ-#:", "G4ABC:", "I2XYZ:"};
    static const char* calls[] = {"VP2MXX", "3Y0K",           "TX5S",   "9N7AA",
                                  "E51D",   "VK9/DL1ABCD/MM", "OH2BH/P"};
    static const double freqs[] = {1832.0,  3525.5,  7012.0,  10110.0, 14025.0, 14195.0,
                                   18075.0, 21025.0, 24895.0, 28010.0, 50313.0, 144300.0};
    const int kind = static_cast<int>(rng.bounded(20));
    if (kind == 0)
        return "To ALL de EA8ABC: contest QSO rate is high tonight\r\n";
    if (kind == 1)
        return "WWV de W0MU <21>:   SFI=118, A=8, K=2, No Storms -> Minor w/G1\r\n";
    const QByteArray spotter = spotters[rng.bounded(6)];
    const QByteArray freq = QByteArray::number(freqs[rng.bounded(12)], 'f', 1);
    QByteArray line = "DX de " + spotter.leftJustified(9, ' ') + ' ' + freq.rightJustified(8, ' ') +
                      "  " + QByteArray(calls[rng.bounded(7)]).leftJustified(12, ' ') + ' ' +
                      QByteArray("CW 12 dB 22 WPM CQ ").leftJustified(30, ' ') + ' ' +
                      QByteArray::number(1000 + i % 1000) + "Z\r\n";
    return line;
}

double linesPerSecond(qint64 ns, int lines)
{
    return ns > 0 ? lines * 1e9 / static_cast<double>(ns) : 0;
}

// Node-like chunks, made as they are needed: one to five lines, now and then
// a line cut in two.
class ChunkSource
{
public:
    explicit ChunkSource(int total) : m_total(total) {}
    bool next(QByteArray& chunk)
    {
        if (m_made >= m_total && m_carry.isEmpty())
            return false;
        chunk = m_carry;
        m_carry.clear();
        const int n = 1 + static_cast<int>(m_rng.bounded(5));
        for (int k = 0; k < n && m_made < m_total; ++k, ++m_made)
            chunk += nodeLine(m_rng, m_made);
        if (m_rng.bounded(4) == 0 && m_made < m_total) {
            const QByteArray line = nodeLine(m_rng, m_made++);
            const int cut = 1 + static_cast<int>(m_rng.bounded(line.size() - 1));
            chunk += line.left(cut);
            m_carry = line.mid(cut);
        }
        return true;
    }

private:
    QRandomGenerator m_rng{2026};
    int m_total;
    int m_made = 0;
    QByteArray m_carry;
};

struct Session
{
    FakeClusterNode node;
    TestContext ctx;
    std::unique_ptr<Tform1> form;

    bool open()
    {
        form = std::make_unique<Tform1>(ctx.make());
        form->show();
        // A screen reader's bridge comes up after the session bus answers.
        if (qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
            (void)QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000);
        MainWindowFixture::chooseNode(*form, QStringLiteral("127.0.0.1"),
                                      QString::number(node.port()));
        form->BitBtn2Click();
        if (!node.waitForClient() || !QTest::qWaitFor([&] { return form->isConnected(); }, 5000)) {
            std::fprintf(stderr, "could not connect to the local node\n");
            return false;
        }
        return true;
    }
};

// A chunk as the session hands it on: cut into lines by the session's own
// line assembler, each line to the window's handler.
void feed(Tform1& form, LineAssembler& lines, const QByteArray& chunk)
{
    for (const QString& line : lines.feed(chunk))
        form.TelnetDataAvailable(line);
}

int contest(int total)
{
    LineAssembler assembler;
    constexpr int window = 10000;
    Session s;
    if (!s.open())
        return 1;
    Tform1& form = *s.form;

    ChunkSource source(total);
    QByteArray chunk;
    QElapsedTimer clock;
    qint64 firstNs = -1;
    qint64 lastStart = -1;
    int linesSeen = 0;
    const int lastFrom = total - window;
    clock.start();
    while (source.next(chunk)) {
        const int before = linesSeen;
        if (lastStart < 0 && before >= lastFrom)
            lastStart = clock.nsecsElapsed();
        feed(form, assembler, chunk);
        linesSeen += static_cast<int>(chunk.count('\n'));
        if (firstNs < 0 && linesSeen >= window)
            firstNs = clock.nsecsElapsed();
        if ((linesSeen / 1000) != (before / 1000))
            QCoreApplication::processEvents(); // the pane repaints as it would on screen
    }
    const qint64 endNs = clock.nsecsElapsed();
    QCoreApplication::processEvents();
    const qint64 lastNs = endNs - lastStart;

    // UI actions with the full pane.
    auto* m20 = form.findChild<QWidget*>(QStringLiteral("m20"));
    form.Panel11->show();
    QElapsedTimer t;
    t.start();
    QTest::mouseClick(m20, Qt::LeftButton);
    QCoreApplication::processEvents();
    const double bandClickMs = t.nsecsElapsed() / 1e6;

    form.EditCommand->setText(QStringLiteral("sh/dx"));
    t.restart();
    QTest::mouseClick(form.BitBtn5, Qt::LeftButton);
    QCoreApplication::processEvents();
    const double sendMs = t.nsecsElapsed() / 1e6;
    const bool sent = s.node.waitForReceived("sh/dx");

    const double first = linesPerSecond(firstNs, window);
    const double last = linesPerSecond(lastNs, window);
    std::printf("accessibility              %s\n",
                QAccessible::isActive() ? "active (a bridge listens)" : "not active");
    std::printf("lines fed                  %d (counted %d; pane keeps %d, dropped %lld)\n", total,
                form.countedLines(), form.Re1->lineCount(),
                static_cast<long long>(form.Re1->droppedLineCount()));
    std::printf("first %d lines           %.0f lines/s\n", window, first);
    std::printf("last %d lines            %.0f lines/s\n", window, last);
    std::printf("last / first time ratio     %.2f (goal <= 1.5)\n", first / last);
    std::printf("whole run                  %.0f lines/s\n", linesPerSecond(endNs, total));
    std::printf("peak RSS                   %.1f MB (goal <= 400)\n", peakRssKb() / 1024.0);
    std::printf("band panel click           %.2f ms (goal < 50)\n", bandClickMs);
    std::printf("send with full pane        %.2f ms (goal < 50)%s\n", sendMs,
                sent ? "" : " NOT RECEIVED");
    return 0;
}

// A node that sends text without line ends, in the pieces a socket read
// gives, then the time one repaint of the pane takes with such lines in view.
int endless(int megabytes)
{
    LineAssembler assembler;
    Session s;
    if (!s.open())
        return 1;
    Tform1& form = *s.form;
    QByteArray text;
    while (text.size() < 1 << 20)
        text += "DX de W3LPL: 21021.0 VP2MXX CW 579 up 2 0712Z ";
    text.truncate(1 << 20);
    constexpr int piece = 16 * 1024;
    const long rssBefore = statusKb("VmRSS:");
    const int linesBefore = form.Re1->lineCount();
    QElapsedTimer clock;
    clock.start();
    for (int mb = 0; mb < megabytes; ++mb) {
        for (int at = 0; at < text.size(); at += piece) {
            feed(form, assembler, text.mid(at, piece));
            QCoreApplication::processEvents(); // paint as often as a socket read comes
        }
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    const int lines = form.Re1->lineCount() - linesBefore;
    std::printf("endless line, %d MB          %.1f MB/s (goal >= 10), %d pane lines of up to %lld "
                "characters\n",
                megabytes, megabytes / seconds, lines,
                static_cast<long long>(form.Re1->line(form.Re1->lineCount() - 1).size()));
    std::printf("memory added               %.1f MB (%.2f bytes a byte received)\n",
                (statusKb("VmRSS:") - rssBefore) / 1024.0,
                (statusKb("VmRSS:") - rssBefore) * 1024.0 / (megabytes * 1048576.0));

    // One repaint with only such lines in view, at the start, the middle and
    // the end of the lines.
    QScrollBar* h = form.Re1->horizontalScrollBar();
    for (const double where : {0.0, 0.5, 1.0}) {
        h->setValue(static_cast<int>(where * h->maximum()));
        QCoreApplication::processEvents();
        QList<double> ms;
        for (int i = 0; i < 21; ++i) {
            QElapsedTimer t;
            t.start();
            form.Re1->viewport()->repaint();
            ms << t.nsecsElapsed() / 1e6;
        }
        std::sort(ms.begin(), ms.end());
        std::printf("repaint, scrolled to %3.0f %%  %.2f ms median, %.2f ms worst (goal <= 16)\n",
                    where * 100, ms.at(ms.size() / 2), ms.last());
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString what = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("contest");
    const int amount = argc > 2 ? std::atoi(argv[2]) : 0;
    if (what == QLatin1String("contest"))
        return contest(amount > 0 ? amount : 3000000);
    if (what == QLatin1String("endless"))
        return endless(amount > 0 ? amount : 50);
    std::fprintf(stderr, "usage: %s contest [lines] | endless [MB]\n", argv[0]);
    return 2;
}
