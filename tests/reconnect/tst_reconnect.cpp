// A session that ends without the user asking comes back, as the user sees
// it in the real window: the lines of the terminal pane and the lamp, with
// real nodes on the loopback.

#include "FakeClusterNode.h"
#include "LatencyProbe.h"
#include "MainWindowFixture.h"

#include "app/LampShape.h"
#include "app/Tform1.h"
#include "session/ClusterSession.h"
#include "session/TerminalPane.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

const QColor kRed(255, 0, 0);
const QColor kLime(0, 255, 0);

void shortReconnects(AppContext& app)
{
    app.timings.reconnectFirstMs = 1000;
    app.timings.reconnectMaxMs = 4000;
    app.timings.watchdogMs = 400;
}

// Connects to the node through the grid's choice and logs in as N0CALL.
bool logIn(MainWindowFixture& w, FakeClusterNode& node)
{
    w.form->Edit1->setText(QStringLiteral("GB7DJK"));
    if (!w.connectTo(node.port()) || !w.waitForLine(QStringLiteral("login:"))) {
        qWarning() << "no login prompt:" << w.lines();
        return false;
    }
    w.form->EditCommand->setText(QStringLiteral("N0CALL"));
    QTest::mouseClick(w.form->BitBtn5, Qt::LeftButton);
    return node.waitForReceived("N0CALL");
}

int countOf(const QStringList& lines, const QString& line)
{
    return int(lines.count(line));
}

// The cluster node simulator as a process of its own.
class SimNode
{
public:
    explicit SimNode(const QStringList& options, quint16 port = 0)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(qEnvironmentVariable("MARVIX_SIM"),
                        QStringList{"--port", QString::number(port)} + options);
        QByteArray first;
        QDeadlineTimer deadline(5000);
        while (!first.contains('\n') && !deadline.hasExpired()) {
            m_process.waitForReadyRead(100);
            first += m_process.readAllStandardOutput();
        }
        const auto m = QRegularExpression(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)\n"))
                           .match(QString::fromLatin1(first));
        m_port = m.hasMatch() ? quint16(m.captured(1).toUInt()) : 0;
    }
    ~SimNode() { stop(); }
    quint16 port() const { return m_port; }
    void stop()
    {
        m_process.kill();
        m_process.waitForFinished(3000);
    }

private:
    QProcess m_process;
    quint16 m_port = 0;
};

// Connects to a simulator and logs in as N0CALL at its prompt.
bool logInToSim(MainWindowFixture& w, quint16 port)
{
    w.form->Edit1->setText(QStringLiteral("SIM"));
    if (!w.connectTo(port) || !w.waitForLine(QStringLiteral("login:")))
        return false;
    w.form->EditCommand->setText(QStringLiteral("N0CALL"));
    QTest::mouseClick(w.form->BitBtn5, Qt::LeftButton);
    return w.waitForLine(QStringLiteral("> N0CALL")) &&
           QTest::qWaitFor([&] { return !w.lines().filter(QStringLiteral("Hello N0CALL")).isEmpty(); },
                           5000);
}

} // namespace

class TestReconnect : public QObject
{
    Q_OBJECT
private slots:
    void lostSessionComesBack_data();
    void lostSessionComesBack();
    void disconnectEndsTheWait();
    void dropWhileAMessageBoxIsOpen();
    void turnedOffInTheSettings();
    void nodeDownThenUpAgain();
    void oldSessionStillHeld();
    void nodeResettingAfterLoginBacksOff();
};

void TestReconnect::lostSessionComesBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("node closes") << "close";
    QTest::newRow("node resets") << "reset";
    QTest::newRow("node falls silent") << "silent";
}

void TestReconnect::lostSessionComesBack()
{
    QFETCH(QString, how);
    FakeClusterNode node;
    node.setGreeting("Welcome to GB7DJK\r\nlogin: ");
    MainWindowFixture w(shortReconnects);
    QVERIFY(logIn(w, node));
    LatencyProbe probe;
    probe.start();
    node.clearReceived();
    if (how == "close")
        node.closeClient();
    else if (how == "reset")
        node.resetClient();
    else
        w.form->Timer1Timer(); // a keep-alive the node never answers

    QVERIFY2(w.waitForLine(QStringLiteral("Reconnected to GB7DJK"), 8000),
             qPrintable(w.lines().join('|')));
    QVERIFY(QTest::qWaitFor([&] { return w.form->ShapeLED->brushColor() == kLime; }, 2000));
    QVERIFY(w.waitForLine(QStringLiteral("> N0CALL")));
    QVERIFY(node.waitForReceived("N0CALL"));
    QCOMPARE(node.connections(), 2);
    probe.stop();
    QVERIFY2(probe.worstMs() <= LatencyProbe::kLimitMs, qPrintable(QString::number(probe.worstMs())));

    // In the pane: the end once, the wait, the new session and its login.
    const QStringList lines = w.lines();
    const int end = int(lines.indexOf(QStringLiteral("Disconnected ")));
    QVERIFY(end > 0);
    QCOMPARE(countOf(lines, QStringLiteral("Disconnected ")), 1);
    QCOMPARE(lines.mid(end + 1, 2),
             (QStringList{QStringLiteral("Connection lost: reconnecting to GB7DJK in 1 s"),
                          QStringLiteral("Reconnected to GB7DJK")}));
    QCOMPARE(countOf(lines, QStringLiteral("> N0CALL")), 2);
    QVERIFY(lines.lastIndexOf(QStringLiteral("> N0CALL")) > lines.lastIndexOf(QStringLiteral("login:")));
    if (how == "silent")
        QCOMPARE(lines[end - 1], QStringLiteral("Nothing received for 0 s: connection lost"));
    QVERIFY(w.form->isConnected());
}

// Disconnect, the one button lit while the program waits to reconnect, ends
// the wait: no new attempt.
void TestReconnect::disconnectEndsTheWait()
{
    FakeClusterNode node;
    node.setGreeting("login: ");
    MainWindowFixture w([](AppContext& app) {
        shortReconnects(app);
        app.timings.reconnectFirstMs = 3000;
    });
    QVERIFY(logIn(w, node));
    node.closeClient();
    // 3 s with up to 20 % either way.
    QVERIFY(QTest::qWaitFor(
        [&] {
            return !w.lines().filter(QRegularExpression(
                QStringLiteral("^Connection lost: reconnecting to GB7DJK in [234] s$"))).isEmpty();
        },
        5000));
    QTRY_VERIFY(w.form->BitBtn3->isEnabled());
    QVERIFY(w.form->BitBtn2->isEnabled());
    // A command typed meanwhile finds no session, and the wait goes on.
    w.form->EditCommand->setText(QStringLiteral("sh/dx"));
    QTest::mouseClick(w.form->BitBtn5, Qt::LeftButton);
    QVERIFY(w.waitForLine(QStringLiteral("Telnet connection is not active")));
    QVERIFY(w.form->session()->reconnectPending());
    QVERIFY(!w.lines().contains(QStringLiteral("Reconnect cancelled")));
    QTest::mouseClick(w.form->BitBtn3, Qt::LeftButton);
    QVERIFY(w.waitForLine(QStringLiteral("Reconnect cancelled")));
    QTest::qWait(3500);
    QCOMPARE(node.connections(), 1);
    QVERIFY(!w.lines().contains(QStringLiteral("Reconnected to GB7DJK")));
    QVERIFY(w.form->ShapeLED->brushColor() == kRed);
    QTRY_VERIFY(!w.form->BitBtn3->isEnabled());
}

// The node goes while a line's message box is open: the line comes first,
// the end after it, once, and the session comes back.
void TestReconnect::dropWhileAMessageBoxIsOpen()
{
    FakeClusterNode node;
    node.setGreeting("login: ");
    MainWindowFixture* window = nullptr;
    int boxes = 0;
    QStringList linesWhenTheBoxCloses;
    MainWindowFixture w([&](AppContext& app) {
        shortReconnects(app);
        // The login prompt is the one line counted before the spot, which
        // is the first to warn.
        app.countedLinesAtStart = Tform1::kRe1Warning - 1;
        app.showMessage = [&](const QString&) {
            // A modal box: the event loop turns inside it for a while, and
            // the node resets the connection meanwhile.
            ++boxes;
            node.resetClient();
            QEventLoop box;
            QTimer::singleShot(500, &box, &QEventLoop::quit);
            box.exec();
            linesWhenTheBoxCloses = window->lines();
        };
    });
    window = &w;
    QVERIFY(logIn(w, node));
    node.send("DX de Q1AAA:     14025.0  Q9ZZ         CW                             0712Z\r\n");
    QVERIFY(w.waitForLine(QStringLiteral("Reconnected to GB7DJK"), 8000));
    QCOMPARE(boxes, 1);
    // Nothing of the end came while the box was open.
    QVERIFY(!linesWhenTheBoxCloses.contains(QStringLiteral("Disconnected ")));
    const QStringList lines = w.lines();
    const int spot = int(lines.indexOf(QRegularExpression(QStringLiteral("^DX de Q1AAA.*"))));
    QVERIFY(spot > 0);
    QVERIFY(spot < lines.indexOf(QStringLiteral("Disconnected ")));
    QCOMPARE(countOf(lines, QStringLiteral("Disconnected ")), 1);
}

void TestReconnect::turnedOffInTheSettings()
{
    FakeClusterNode node;
    node.setGreeting("login: ");
    QString settings;
    MainWindowFixture w([&](AppContext& app) {
        shortReconnects(app);
        settings = QDir(app.programDir).filePath(QStringLiteral("settings.ini"));
        QFile f(settings);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Session]\r\nAutoReconnect=0\r\n");
    });
    QVERIFY(logIn(w, node));
    node.closeClient();
    QVERIFY(w.waitForLine(QStringLiteral("Disconnected ")));
    QTest::qWait(1500);
    QCOMPARE(node.connections(), 1);
    QVERIFY(w.lines().filter(QStringLiteral("reconnect")).isEmpty());
    QFile f(settings);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().startsWith("[Session]\r\nAutoReconnect=0\r\n"));
}

// The node's program stops; for a while nothing listens (each attempt is
// refused), then it runs again on its port and the session comes back.
void TestReconnect::nodeDownThenUpAgain()
{
    auto sim = std::make_unique<SimNode>(QStringList{"--rate", "5"});
    const quint16 port = sim->port();
    QVERIFY(port != 0);
    MainWindowFixture w(shortReconnects);
    QVERIFY(logInToSim(w, port));
    LatencyProbe probe;
    probe.start();
    sim.reset();
    QVERIFY(w.waitForLine(QStringLiteral("Disconnected ")));
    QVERIFY(QTest::qWaitFor(
        [&] { return !w.lines().filter(QStringLiteral("Connection failed: ")).isEmpty(); }, 5000));
    sim = std::make_unique<SimNode>(QStringList{"--rate", "5"}, port);
    QCOMPARE(sim->port(), port);
    QVERIFY2(w.waitForLine(QStringLiteral("Reconnected to SIM"), 15000), qPrintable(w.lines().join('|')));
    QVERIFY(QTest::qWaitFor([&] { return w.lines().count(QStringLiteral("> N0CALL")) == 2; }, 5000));
    QVERIFY(QTest::qWaitFor([&] { return w.lines().filter(QStringLiteral("Hello N0CALL")).size() == 2; },
                            5000));
    probe.stop();
    QVERIFY2(probe.worstMs() <= LatencyProbe::kLimitMs, qPrintable(QString::number(probe.worstMs())));
    QCOMPARE(w.lines().count(QStringLiteral("Disconnected ")), 1);
}

// A node that allows one session per address and has not yet noticed that
// the old one ended turns the first attempts away; the waits ride it out.
void TestReconnect::oldSessionStillHeld()
{
    SimNode sim({"--rate", "5", "--one-per-address", "--hold-for", "3", "--drop", "reset",
                 "--drop-after-seconds", "2", "--drop-once"});
    QVERIFY(sim.port() != 0);
    MainWindowFixture w(shortReconnects);
    QVERIFY(logInToSim(w, sim.port()));
    QVERIFY(w.waitForLine(QStringLiteral("Sorry, you are already connected"), 8000));
    QVERIFY2(QTest::qWaitFor([&] { return w.lines().count(QStringLiteral("> N0CALL")) == 2; }, 15000),
             qPrintable(w.lines().join('|')));
    const QStringList waits = w.lines().filter(QStringLiteral("Connection lost: reconnecting to SIM in"));
    QVERIFY(waits.size() >= 2);
    // The turned-away attempt made the next wait longer.
    QCOMPARE(waits[0], QStringLiteral("Connection lost: reconnecting to SIM in 1 s"));
    QCOMPARE(waits[1], QStringLiteral("Connection lost: reconnecting to SIM in 2 s"));
    QVERIFY(w.form->isConnected());
}

// A node that takes the callsign and resets every session: each
// reconnection is a failure until a session lives, so the waits grow to
// their ceiling (here 1, 2, 4, 4 s) instead of coming back every second.
void TestReconnect::nodeResettingAfterLoginBacksOff()
{
    SimNode sim({"--drop", "reset", "--drop-after-lines", "3"});
    QVERIFY(sim.port() != 0);
    MainWindowFixture w([](AppContext& app) {
        shortReconnects(app);
        app.timings.reconnectJitterPercent = 0;
    });
    QVERIFY(logInToSim(w, sim.port()));
    const auto waits = [&] {
        return w.lines().filter(QStringLiteral("Connection lost: reconnecting to SIM in"));
    };
    QVERIFY2(QTest::qWaitFor([&] { return waits().size() >= 4; }, 15000),
             qPrintable(w.lines().join('|')));
    QCOMPARE(waits().mid(0, 4),
             (QStringList{QStringLiteral("Connection lost: reconnecting to SIM in 1 s"),
                          QStringLiteral("Connection lost: reconnecting to SIM in 2 s"),
                          QStringLiteral("Connection lost: reconnecting to SIM in 4 s"),
                          QStringLiteral("Connection lost: reconnecting to SIM in 4 s")}));
    // The callsign went out at each node's prompt.
    QVERIFY(w.lines().count(QStringLiteral("> N0CALL")) >= 4);
}

QTEST_MAIN(TestReconnect)
#include "tst_reconnect.moc"
