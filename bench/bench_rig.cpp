// From the release of the mouse button on a spot line to the frequency being
// set in a real rigctld (Hamlib's dummy rig) on loopback, through the real
// window, the rig worker and Hamlib's network client.
//   QT_QPA_PLATFORM=offscreen ./bench_rig [clicks]
// "received" is when rigctld starts to set the frequency (its log says so),
// "set" when its rig reports the frequency set. The dummy rig takes about
// 20 ms per call on purpose, as a real radio would.
#include "RigctldProcess.h"
#include "TestContext.h"

#include "app/Tform1.h"
#include "rig/RigControl.h"
#include "session/TerminalPane.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Sample
{
    double received;
    double set;
};

// Watches the rigctld log from a given offset for the two marks of one
// frequency.
class LogWatch
{
public:
    explicit LogWatch(const QString& path) : m_file(path) { m_file.open(QIODevice::ReadOnly); }

    void skipToEnd() { m_text.clear(), m_file.seek(m_file.size()); }

    // 0 nothing yet, 1 received, 2 set.
    int stage(qint64 hz)
    {
        m_text += m_file.readAll();
        const QByteArray call = "rig_set_freq called vfo=currVFO, freq=" + QByteArray::number(hz);
        const qsizetype at = m_text.indexOf(call);
        if (at < 0)
            return 0;
        return m_text.indexOf("dummy_set_freq returning", at) >= 0 ? 2 : 1;
    }

private:
    QFile m_file;
    QByteArray m_text;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

// Clicks alternate between two lines; returns one sample per click.
std::vector<Sample> run(Tform1& w, RigctldProcess& rig, const QString& a, qint64 hzA,
                        const QString& b, qint64 hzB, int clicks)
{
    w.Re1->clear();
    w.Re1->appendEntry(a);
    w.Re1->appendEntry(b);
    const int h = w.Re1->fontMetrics().lineSpacing();
    LogWatch log(rig.logPath());
    std::vector<Sample> out;
    for (int i = 0; i < clicks; ++i) {
        const int line = i % 2;
        const qint64 hz = line == 0 ? hzA : hzB;
        const QPoint at(30, line * h + h / 2);
        QTest::qWait(60); // the dummy rig's cache of the last value runs out
        log.skipToEnd();
        QTest::mousePress(w.Re1->viewport(), Qt::LeftButton, {}, at);
        QElapsedTimer t;
        t.start();
        QTest::mouseRelease(w.Re1->viewport(), Qt::LeftButton, {}, at);
        double received = -1;
        for (;;) {
            const int s = log.stage(hz);
            if (s >= 1 && received < 0)
                received = double(t.nsecsElapsed()) / 1e6;
            if (s == 2)
                break;
            if (t.elapsed() > 10000) {
                std::fprintf(stderr, "no answer from rigctld\n");
                return out;
            }
            QTest::qWait(0);
            QThread::usleep(200);
        }
        out.push_back({received, double(t.nsecsElapsed()) / 1e6});
        (void)QTest::qWaitFor([&] { return w.OmniRig->pendingOperations() == 0; }, 10000);
    }
    return out;
}

void report(const char* what, const std::vector<Sample>& s)
{
    std::vector<double> received, set;
    for (const Sample& x : s) {
        received.push_back(x.received);
        set.push_back(x.set);
    }
    std::printf("%-34s clicks %3zu  received: median %6.2f ms p90 %6.2f ms   set: median %6.2f ms "
                "p90 %6.2f ms\n",
                what, s.size(), median(received), percentile(received, 0.9), median(set),
                percentile(set, 0.9));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int clicks = argc > 1 ? std::max(2, atoi(argv[1])) : 40;

    RigctldProcess rig;
    QString error;
    if (!rig.start(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    TestContext ctx;
    ctx.rig.rig1.port = rig.address();
    Tform1 w(ctx.make());
    w.show();
    QTest::mouseClick(w.SpeedButton8, Qt::LeftButton);
    if (!QTest::qWaitFor([&] { return w.rigOpen(); }, 15000)) {
        std::fprintf(stderr, "Rig 1 did not open\n");
        return 1;
    }

    report("same mode (two CW spots)",
           run(w, rig, "DX de Q1AAA:     14025.0  Q9ZZZ        CW 599", 14025000,
               "DX de Q2BBB:     14031.0  Q8YYY        CW 599", 14031000, clicks));
    report("mode changes (CW and SSB spots)",
           run(w, rig, "DX de Q1AAA:     14025.0  Q9ZZZ        CW 599", 14025000,
               "DX de Q2BBB:     14195.0  Q8YYY        59", 14195000, clicks));
    return 0;
}
