// Feeds a contest's worth of node output through the real incoming-text
// handler into the real terminal pane and reports speed and memory.
//   QT_QPA_PLATFORM=offscreen ./bench_incoming [lines]
// With a screen reader's bridge active (the panes then announce their text),
// on a display and a session bus of their own:
//   QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
//   dbus-run-session -- xvfb-run -a ./bench_incoming
#include "FakeClusterNode.h"
#include "TestContext.h"

#include "app/Tform1.h"
#include "net/TIdTelnet.h"
#include "session/TerminalPane.h"
#include "spots/BandStrip.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

long peakRssKb()
{
    std::ifstream f("/proc/self/status");
    std::string l;
    while (std::getline(f, l)) {
        if (l.rfind("VmHWM:", 0) == 0)
            return std::stol(l.substr(6));
    }
    return 0;
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

} // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int total = argc > 1 ? std::atoi(argv[1]) : 210000;
    constexpr int window = 10000;

    FakeClusterNode node;
    TestContext ctx;
    Tform1 form(ctx.make());
    form.show();
    form.nodoscelto = QStringLiteral("127.0.0.1");
    form.portascelta = QString::number(node.port());
    form.BitBtn2Click();
    if (!node.waitForClient() || !QTest::qWaitFor([&] { return form.connesso; }, 5000)) {
        std::fprintf(stderr, "could not connect to the local node\n");
        return 1;
    }

    // Node-like chunks: one to five lines, now and then a line cut in two.
    QRandomGenerator rng(2026);
    QList<QByteArray> chunks;
    QByteArray carry;
    int made = 0;
    while (made < total) {
        QByteArray chunk = carry;
        carry.clear();
        const int n = 1 + static_cast<int>(rng.bounded(5));
        for (int k = 0; k < n && made < total; ++k, ++made)
            chunk += nodeLine(rng, made);
        if (rng.bounded(4) == 0 && made < total) {
            const QByteArray next = nodeLine(rng, made++);
            const int cut = 1 + static_cast<int>(rng.bounded(next.size() - 1));
            chunk += next.left(cut);
            carry = next.mid(cut);
        }
        chunks.append(chunk);
    }
    if (!carry.isEmpty())
        chunks.append(carry);

    QElapsedTimer clock;
    qint64 firstNs = -1;
    qint64 lastStart = -1;
    int linesSeen = 0;
    int lastFrom = total - window;
    clock.start();
    for (const QByteArray& chunk : chunks) {
        const int before = linesSeen;
        if (lastStart < 0 && before >= lastFrom)
            lastStart = clock.nsecsElapsed();
        form.TelnetDataAvailable(nullptr, chunk);
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
    const bool sent = node.waitForReceived("sh/dx");

    const double first = linesPerSecond(firstNs, window);
    const double last = linesPerSecond(lastNs, window);
    std::printf("accessibility              %s\n",
                QAccessible::isActive() ? "active (a bridge listens)" : "not active");
    std::printf("lines fed                  %d (pane lines %d, counted %d)\n", total,
                form.Re1->lineCount(), form.re1dim);
    std::printf("first %d lines           %.0f lines/s\n", window, first);
    std::printf("last %d lines            %.0f lines/s\n", window, last);
    std::printf("last / first time ratio     %.2f (goal <= 1.5)\n", first / last);
    std::printf("whole run                  %.0f lines/s\n", linesPerSecond(endNs, total));
    std::printf("peak RSS                   %.1f MB (goal < 300)\n", peakRssKb() / 1024.0);
    std::printf("band panel click           %.2f ms (goal < 50)\n", bandClickMs);
    std::printf("send with full pane        %.2f ms (goal < 50)%s\n", sendMs,
                sent ? "" : " NOT RECEIVED");
    return 0;
}
