// The session engine on its own, without a window, against real nodes on
// the loopback: connect, lines and tails, lines sent during a connect, the
// gate that lets nothing overtake a line being handled, the ends of a
// session, and reconnect, watchdog and failover.

#include "FakeClusterNode.h"
#include "StreamNode.h"

#include "net/TIdTelnet.h"
#include "net/TelnetCodec.h"
#include "session/ClusterSession.h"
#include "session/ReconnectPolicy.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

namespace {

SessionTimings shortTimings()
{
    SessionTimings t;
    t.lineTailFlushMs = 50;
    t.spotTailFlushMs = 300;
    t.disconnectPauseMs = 50;
    t.reconnectFirstMs = 100;
    t.reconnectMaxMs = 400;
    t.reconnectWindowMs = 3000;
    t.reconnectAttemptsPerWindow = 6;
    t.failoverAfterAttempts = 3;
    t.watchdogMs = 300;
    t.reconnectConnectMs = 300;
    t.reconnectProvenMs = 1000;
    return t;
}

ClusterSession::Node node(const QString& name, quint16 port, bool answered = false)
{
    return {name, QStringLiteral("127.0.0.1"), QString::number(port), answered};
}

// A session as the window drives it: every end is followed by the pause,
// and everything it says is kept in order.
struct Driver
{
    ClusterSession session{shortTimings()};
    QStringList events;

    Driver()
    {
        session.setJitterSource([] { return 0.0; });
        QObject::connect(&session, &ClusterSession::connectFinished, [this](const QString& f) {
            events << (f.isNull() ? QStringLiteral("connected") : QStringLiteral("failed: ") + f);
        });
        QObject::connect(&session, &ClusterSession::lineReady,
                         [this](const QString& l) { events << QStringLiteral("line: ") + l; });
        QObject::connect(&session, &ClusterSession::ended, [this] {
            events << QStringLiteral("ended");
            session.disconnectFromNode();
            session.startDisconnectPause();
        });
        QObject::connect(&session, &ClusterSession::pauseOver,
                         [this] { events << QStringLiteral("pause over"); });
        QObject::connect(&session, &ClusterSession::watchdogFired,
                         [this](int) { events << QStringLiteral("watchdog"); });
        QObject::connect(&session, &ClusterSession::reconnectScheduled,
                         [this](const QString& n, int) { events << QStringLiteral("waiting for ") + n; });
        QObject::connect(&session, &ClusterSession::reconnectFailed,
                         [this](const QString&) { events << QStringLiteral("attempt failed"); });
        QObject::connect(&session, &ClusterSession::reconnected,
                         [this](const QString& n) { events << QStringLiteral("reconnected to ") + n; });
        QObject::connect(&session, &ClusterSession::loginSent,
                         [this](const QString& t) { events << QStringLiteral("login ") + t; });
    }

    bool waitFor(const QString& event, int ms = 5000)
    {
        return QTest::qWaitFor([&] { return events.contains(event); }, ms);
    }
    int count(const QString& event) const { return int(events.count(event)); }
};

} // namespace

class TestClusterSession : public QObject
{
    Q_OBJECT
private slots:
    void connectOutcome_data();
    void connectOutcome();
    void linesAndTails();
    void linesSentDuringTheConnect();
    void nothingOvertakesALineBeingHandled();
    void droppedBehindABox_data();
    void droppedBehindABox();
    void endsOfASession_data();
    void endsOfASession();
    void userDisconnectShowsTheTail();
    void reconnectLogsInAgain();
    void noReconnectWithoutLoginOrWhenOff_data();
    void noReconnectWithoutLoginOrWhenOff();
    void watchdogEndsASilentSession();
    void failoverGoesDownTheList();
    void failoverPassesANodeThatNeverAnswers();
    void reconnectedSessionMustLive_data();
    void reconnectedSessionMustLive();
    void cancelStopsTheWait();
    void allNodesDownKeepsTheRate();
    void waits_data();
    void waits();
    void nodeOrder();
};

void TestClusterSession::connectOutcome_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("expected");
    QTest::newRow("node listening") << "node" << "connected";
    QTest::newRow("refused") << QString::number(FakeClusterNode::refusingPort())
                             << "failed: Socket Error # 10061";
    QTest::newRow("no port") << "x23" << "failed: ";
}

void TestClusterSession::connectOutcome()
{
    QFETCH(QString, port);
    QFETCH(QString, expected);
    FakeClusterNode fake;
    Driver d;
    d.session.connectTo({"N", "127.0.0.1", port == "node" ? QString::number(fake.port()) : port, false},
                        {});
    QVERIFY(QTest::qWaitFor([&] { return !d.events.isEmpty(); }, 5000));
    QVERIFY2(d.events.first().startsWith(expected), qPrintable(d.events.join('|')));
    QCOMPARE(d.session.linkUp(), expected == "connected");
    QTest::qWait(100);
    QCOMPARE(d.events.size(), 1);
}

// Lines come whole, however the bytes were cut; a tail without a line end
// (the login prompt) comes after a silence.
void TestClusterSession::linesAndTails()
{
    FakeClusterNode fake;
    Driver d;
    d.session.connectTo(node("N", fake.port()), {});
    QVERIFY(fake.waitForClient());
    QVERIFY(d.waitFor("connected"));
    fake.send("Hello N0CALL\r\nDX de Q1AAA:   ");
    QTest::qWait(20);
    fake.send("  14025.0  Q9ZZ         CW\r\nlog");
    QTest::qWait(20);
    fake.send("in: ");
    QVERIFY(d.waitFor("line: login: "));
    QCOMPARE(d.events, (QStringList{"connected", "line: Hello N0CALL",
                                    "line: DX de Q1AAA:     14025.0  Q9ZZ         CW",
                                    "line: login: "}));
}

void TestClusterSession::linesSentDuringTheConnect()
{
    FakeClusterNode fake;
    fake.stallAccepting(300);
    Driver d;
    QStringList sentAfter;
    QObject::connect(&d.session, &ClusterSession::connectFinished, [&] {
        for (const QString& line : d.session.takeWaitingLines())
            if (d.session.sendLine(line))
                sentAfter << line;
    });
    d.session.connectTo(node("N", fake.port()), {});
    QVERIFY(d.session.isConnecting());
    d.session.holdLine("N0CALL");
    d.session.holdLine("sh/dx");
    QVERIFY(d.waitFor("connected", 5000));
    QCOMPARE(sentAfter, (QStringList{"N0CALL", "sh/dx"}));
    QVERIFY(fake.waitForReceived(TelnetCodec::encodeForSending("N0CALL\r", false) +
                                 TelnetCodec::encodeForSending("sh/dx\r", false)));
    QVERIFY(d.session.takeWaitingLines().isEmpty());
}

// The receiver of a line opens a "message box" (an event loop of its own):
// meanwhile no line is handed out, not even the tail; afterwards everything
// comes in order. The line is a tail shown after a silence, which comes from
// a timer, not from the client's reading.
void TestClusterSession::nothingOvertakesALineBeingHandled()
{
    FakeClusterNode fake;
    Driver d;
    bool inBox = false;
    int handedOutInBox = 0;
    QObject::connect(&d.session, &ClusterSession::lineReady, [&](const QString& line) {
        if (inBox)
            ++handedOutInBox;
        if (line == "first") {
            inBox = true;
            fake.send("second\r\nthird\r\nprompt> ");
            QEventLoop box;
            QTimer::singleShot(400, &box, &QEventLoop::quit);
            box.exec();
            inBox = false;
        }
    });
    d.session.connectTo(node("N", fake.port()), {});
    QVERIFY(fake.waitForClient());
    QVERIFY(d.waitFor("connected"));
    fake.send("first");
    QVERIFY(d.waitFor("line: prompt> "));
    QCOMPARE(handedOutInBox, 0);
    QCOMPARE(d.events, (QStringList{"connected", "line: first", "line: second", "line: third",
                                    "line: prompt> "}));
}

void TestClusterSession::droppedBehindABox_data()
{
    QTest::addColumn<bool>("byTheUser");
    QTest::newRow("the user's disconnect") << true;
    QTest::newRow("a new connect") << false;
}

// The session is dropped from inside a "message box" that the receiver of a
// line opened, while the client and its socket are still on the stack below
// the box: the connection ends at once, and the client and its socket are
// freed only after the receiver has returned (the socket's own code reads
// it as its readyRead returns, out of sight of the sanitizers).
void TestClusterSession::droppedBehindABox()
{
    QFETCH(bool, byTheUser);
    FakeClusterNode fake;
    FakeClusterNode other;
    Driver d;
    QPointer<TIdTelnet> client;
    QPointer<QTcpSocket> socket;
    bool goneInTheBox = false;
    bool clientAliveInTheBox = false;
    bool socketAliveInTheBox = false;
    QObject::connect(&d.session, &ClusterSession::lineReady, [&](const QString& line) {
        if (line != "first")
            return;
        QEventLoop box;
        QTimer::singleShot(50, &box, [&] {
            if (byTheUser)
                d.session.disconnectFromNode();
            else
                d.session.connectTo(node("OTHER", other.port()), {});
        });
        QTimer::singleShot(100, &box, [&] { goneInTheBox = fake.waitForClientGone(2000); });
        QTimer::singleShot(150, &box, &QEventLoop::quit);
        box.exec();
        clientAliveInTheBox = !client.isNull();
        socketAliveInTheBox = !socket.isNull();
    });
    d.session.connectTo(node("N", fake.port()), {});
    QVERIFY(fake.waitForClient());
    QVERIFY(d.waitFor("connected"));
    client = d.session.findChild<TIdTelnet*>();
    QVERIFY(client);
    socket = client->findChild<QTcpSocket*>();
    QVERIFY(socket);
    fake.send("first\r\n");
    QVERIFY(d.waitFor("line: first"));
    QTRY_VERIFY(client.isNull());
    QTRY_VERIFY(socket.isNull());
    QVERIFY(goneInTheBox);
    QVERIFY(clientAliveInTheBox);
    QVERIFY(socketAliveInTheBox);
    if (!byTheUser)
        QVERIFY(other.waitForClient());
}

void TestClusterSession::endsOfASession_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("reset");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("close after a line") << QByteArray("Hello\r\n") << false << QStringList{"line: Hello"};
    QTest::newRow("reset after a line") << QByteArray("Hello\r\n") << true << QStringList{"line: Hello"};
    QTest::newRow("close in a line")
        << QByteArray("Hello\r\nDX de Q1AAA:  1402") << false
        << QStringList{"line: Hello", "line: DX de Q1AAA:  1402"};
    QTest::newRow("reset in a line")
        << QByteArray("Hello\r\nDX de Q1AAA:  1402") << true
        << QStringList{"line: Hello", "line: DX de Q1AAA:  1402"};
}

// Every end is noticed at once and said once, after everything the node sent
// before it (a line cut by the end shown once, whole).
void TestClusterSession::endsOfASession()
{
    QFETCH(QByteArray, sent);
    QFETCH(bool, reset);
    QFETCH(QStringList, lines);
    std::atomic<bool> seen{false};
    StreamNode stream([&](StreamNode::Link& link) {
        link.write(sent);
        // An RST may throw away what was not read yet.
        while (reset && !seen)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        reset ? link.reset() : link.close();
    });
    Driver d;
    QObject::connect(&d.session, &ClusterSession::lineReady, [&] { seen = true; });
    d.session.connectTo(node("N", stream.port()), {});
    QVERIFY2(d.waitFor("ended", 2000), qPrintable(d.events.join('|')));
    QVERIFY(d.waitFor("pause over"));
    QTest::qWait(200);
    QCOMPARE(d.events, (QStringList{"connected"} + lines + QStringList{"ended", "pause over"}));
    QVERIFY(!d.session.hasClient());
}

void TestClusterSession::userDisconnectShowsTheTail()
{
    FakeClusterNode fake;
    Driver d;
    d.session.connectTo(node("N", fake.port()), {});
    QVERIFY(fake.waitForClient());
    QVERIFY(d.waitFor("connected"));
    fake.send("DX de Q1AAA:  1402");
    QTest::qWait(50); // read, but the spot tail waits longer
    d.session.disconnectFromNode();
    QCOMPARE(d.events, (QStringList{"connected", "line: DX de Q1AAA:  1402"}));
    QVERIFY(fake.waitForClientGone());
    QVERIFY(!d.session.hasClient());
}

// A session the user had logged in comes back after the node closed it: the
// same login goes out when the node's prompt has come.
void TestClusterSession::reconnectLogsInAgain()
{
    FakeClusterNode fake;
    fake.setGreeting("Welcome\r\nlogin: ");
    Driver d;
    d.session.connectTo(node("GB7DJK", fake.port()), {});
    QVERIFY(d.waitFor("line: login: "));
    QVERIFY(d.session.sendLine("N0CALL"));
    QVERIFY(fake.waitForReceived("N0CALL\r"));
    fake.clearReceived();
    fake.resetClient();
    QVERIFY(d.waitFor("reconnected to GB7DJK"));
    QVERIFY(d.waitFor("login N0CALL"));
    QVERIFY(fake.waitForReceived("N0CALL\r"));
    QCOMPARE(fake.connections(), 2);
    const int ended = int(d.events.indexOf("ended"));
    QCOMPARE(d.events.mid(ended, 3),
             (QStringList{"ended", "pause over", "waiting for GB7DJK"}));
    QVERIFY(d.events.indexOf("login N0CALL") > d.events.lastIndexOf("line: login: ") - 1);
    QCOMPARE(d.count("ended"), 1);
    QVERIFY(d.session.linkUp());
}

void TestClusterSession::noReconnectWithoutLoginOrWhenOff_data()
{
    QTest::addColumn<bool>("login");
    QTest::addColumn<bool>("autoReconnect");
    QTest::newRow("never logged in") << false << true;
    QTest::newRow("turned off") << true << false;
}

void TestClusterSession::noReconnectWithoutLoginOrWhenOff()
{
    QFETCH(bool, login);
    QFETCH(bool, autoReconnect);
    FakeClusterNode fake;
    Driver d;
    d.session.setAutoReconnect(autoReconnect);
    d.session.connectTo(node("N", fake.port()), {});
    QVERIFY(fake.waitForClient());
    QVERIFY(d.waitFor("connected"));
    if (login)
        QVERIFY(d.session.sendLine("N0CALL"));
    fake.closeClient();
    QVERIFY(d.waitFor("pause over"));
    QTest::qWait(400);
    QVERIFY(!d.session.reconnectPending());
    QCOMPARE(fake.connections(), 1);
}

// A node that takes the keep-alive and never answers is found out, and the
// session comes back.
void TestClusterSession::watchdogEndsASilentSession()
{
    FakeClusterNode fake;
    Driver d;
    d.session.connectTo(node("N", fake.port()), {});
    QVERIFY(fake.waitForClient());
    QVERIFY(d.waitFor("connected"));
    QVERIFY(d.session.sendLine("N0CALL"));
    // Traffic after a keep-alive keeps the session.
    QVERIFY(d.session.sendKeepAlive());
    QTest::qWait(150);
    fake.send("N0CALL de N 1357Z >\r\n");
    QTest::qWait(250);
    QCOMPARE(d.count("watchdog"), 0);
    // Silence after the next one ends it.
    QVERIFY(d.session.sendKeepAlive());
    QVERIFY(d.waitFor("watchdog", 2000));
    QVERIFY(d.waitFor("reconnected to N"));
    QCOMPARE(d.count("ended"), 1);
    QCOMPARE(fake.connections(), 2);
}

// After three failures on the chosen node, one attempt each to the others,
// those that answered their ping first, then the chosen node again.
void TestClusterSession::failoverGoesDownTheList()
{
    auto chosen = std::make_unique<FakeClusterNode>();
    FakeClusterNode answered;
    answered.setGreeting("login: ");
    const quint16 chosenPort = chosen->port();
    const quint16 dead = FakeClusterNode::refusingPort();
    Driver d;
    d.session.connectTo(node("HOME", chosenPort),
                        {node("SILENT", dead, false), node("PINGED", answered.port(), true)});
    QVERIFY(chosen->waitForClient());
    QVERIFY(d.waitFor("connected"));
    QVERIFY(d.session.sendLine("N0CALL"));
    chosen.reset(); // the chosen node goes down for good
    QVERIFY(d.waitFor("reconnected to PINGED", 10000));
    QStringList targets;
    for (const QString& e : d.events)
        if (e.startsWith("waiting for "))
            targets << e.mid(12);
    QCOMPARE(targets, (QStringList{"HOME", "HOME", "HOME", "PINGED"}));
    QCOMPARE(d.count("attempt failed"), 3);
    QVERIFY(answered.waitForReceived("N0CALL\r"));
}

// A node of the list whose address drops the connection requests (its
// listen queue full, it never answers the handshake) holds an attempt only
// for the attempt's time limit; it fails as timed out and the next node is
// tried.
void TestClusterSession::failoverPassesANodeThatNeverAnswers()
{
    auto chosen = std::make_unique<FakeClusterNode>();
    FakeClusterNode deaf;
    deaf.stallAccepting(3600000);
    FakeClusterNode good;
    good.setGreeting("login: ");
    Driver d;
    QStringList failures;
    QObject::connect(&d.session, &ClusterSession::reconnectFailed,
                     [&](const QString& f) { failures << f; });
    d.session.connectTo(node("HOME", chosen->port()),
                        {node("DEAF", deaf.port(), true), node("GOOD", good.port())});
    QVERIFY(chosen->waitForClient());
    QVERIFY(d.waitFor("connected"));
    QVERIFY(d.session.sendLine("N0CALL"));
    QElapsedTimer clock;
    clock.start();
    chosen.reset();
    // Waits of 100, 200, 400 and 400 ms, and the attempt's 300 ms.
    QVERIFY2(d.waitFor("reconnected to GOOD", 10000), qPrintable(d.events.join('|')));
    const qint64 took = clock.elapsed();
    QVERIFY2(took < 5000, qPrintable(QString::number(took)));
    QStringList targets;
    for (const QString& e : d.events)
        if (e.startsWith("waiting for "))
            targets << e.mid(12);
    QCOMPARE(targets, (QStringList{"HOME", "HOME", "HOME", "DEAF", "GOOD"}));
    QCOMPARE(failures.size(), 4);
    QCOMPARE(failures.last(), QStringLiteral("Socket Error # 10060\r\nConnection timed out."));
    QVERIFY(good.waitForReceived("N0CALL\r"));
}

void TestClusterSession::reconnectedSessionMustLive_data()
{
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("failuresBefore");
    const QString spot = "DX de Q1AAA:     14025.0  Q9ZZ         CW                             0712Z";
    // The waits start over: the session lived long enough, or a spot came.
    QTest::newRow("it lives") << QString() << 0;
    QTest::newRow("a spot comes") << spot << 0;
    // A node that takes the login and resets counts as a failed attempt.
    QTest::newRow("it ends at once") << "Hello N0CALL" << 1;
}

// A reconnection counts as a success only once the session lives: a node
// that takes the login and drops the session again makes the waits grow.
void TestClusterSession::reconnectedSessionMustLive()
{
    QFETCH(QString, after);
    QFETCH(int, failuresBefore);
    FakeClusterNode fake;
    fake.setGreeting("login: ");
    Driver d;
    QList<int> failuresWhenWaiting;
    QObject::connect(&d.session, &ClusterSession::reconnectScheduled,
                     [&] { failuresWhenWaiting << d.session.policy().failures(); });
    d.session.connectTo(node("N", fake.port()), {});
    QVERIFY(d.waitFor("line: login: "));
    QVERIFY(d.session.sendLine("N0CALL"));
    QVERIFY(fake.waitForReceived("N0CALL\r"));
    fake.clearReceived();
    fake.resetClient();
    QVERIFY(d.waitFor("login N0CALL"));
    QVERIFY(fake.waitForReceived("N0CALL\r"));
    if (after.isNull())
        QTest::qWait(1100); // past the second the session must live
    else
        fake.send(after.toLatin1() + "\r\n");
    QVERIFY(d.waitFor("line: " + (after.isNull() ? QStringLiteral("login: ") : after)));
    fake.resetClient();
    QTRY_COMPARE(failuresWhenWaiting.size(), 2);
    QCOMPARE(failuresWhenWaiting, (QList<int>{0, failuresBefore}));
}

void TestClusterSession::cancelStopsTheWait()
{
    FakeClusterNode fake;
    Driver d;
    d.session.connectTo(node("N", fake.port()), {});
    QVERIFY(fake.waitForClient());
    QVERIFY(d.waitFor("connected"));
    QVERIFY(d.session.sendLine("N0CALL"));
    fake.closeClient();
    QVERIFY(d.waitFor("waiting for N"));
    QVERIFY(d.session.reconnectPending());
    d.session.cancelReconnect();
    QVERIFY(!d.session.reconnectPending());
    QTest::qWait(500);
    QCOMPARE(fake.connections(), 1);
}

// Every node down for a long while: the waits grow to their ceiling and no
// window ever holds more attempts than allowed (here 6 in 3 s, with waits
// of 100 ms to 400 ms that alone would allow 7 or more).
void TestClusterSession::allNodesDownKeepsTheRate()
{
    auto home = std::make_unique<FakeClusterNode>();
    const quint16 dead = FakeClusterNode::refusingPort();
    Driver d;
    d.session.connectTo(node("HOME", home->port()), {node("OTHER", dead)});
    QVERIFY(home->waitForClient());
    QVERIFY(d.waitFor("connected"));
    QVERIFY(d.session.sendLine("N0CALL"));
    QElapsedTimer clock;
    clock.start();
    QList<qint64> attempts;
    QObject::connect(&d.session, &ClusterSession::reconnectFailed,
                     [&] { attempts << clock.elapsed(); });
    home.reset();
    QTest::qWait(8000);
    QVERIFY2(attempts.size() >= 10, qPrintable(QString::number(attempts.size())));
    for (int i = 6; i < attempts.size(); ++i)
        QVERIFY2(attempts[i] - attempts[i - 6] >= 3000 - 50,
                 qPrintable(QStringLiteral("attempt %1 came %2 ms after attempt %3")
                                .arg(i)
                                .arg(attempts[i] - attempts[i - 6])
                                .arg(i - 6)));
    QVERIFY(d.session.reconnectPending());
}

void TestClusterSession::waits_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<double>("jitter");
    QTest::addColumn<QList<qint64>>("attempts");
    QTest::addColumn<qint64>("expected");
    const QList<qint64> none;
    QTest::newRow("first") << 0 << 0.0 << none << qint64(5000);
    QTest::newRow("doubled") << 1 << 0.0 << none << qint64(10000);
    QTest::newRow("doubled again") << 2 << 0.0 << none << qint64(20000);
    QTest::newRow("at the ceiling") << 6 << 0.0 << none << qint64(300000);
    QTest::newRow("far past the ceiling") << 500 << 0.0 << none << qint64(300000);
    QTest::newRow("jitter up") << 1 << 1.0 << none << qint64(12000);
    QTest::newRow("jitter down") << 1 << -1.0 << none << qint64(8000);
    QTest::newRow("jitter out of range") << 0 << -7.0 << none << qint64(4000);
    // Six attempts in the last minute: the next waits until the oldest
    // leaves it, though the back-off says 5 s.
    QTest::newRow("window full")
        << 0 << 0.0 << QList<qint64>{100000, 101000, 102000, 103000, 104000, 105000}
        << qint64(100000 + 60000 - 110000);
    QTest::newRow("window not full")
        << 0 << 0.0 << QList<qint64>{101000, 102000, 103000, 104000, 105000} << qint64(5000);
    QTest::newRow("old attempts left the window")
        << 0 << 0.0 << QList<qint64>{1000, 2000, 3000, 4000, 5000, 6000} << qint64(5000);
}

void TestClusterSession::waits()
{
    QFETCH(int, failures);
    QFETCH(double, jitter);
    QFETCH(QList<qint64>, attempts);
    QFETCH(qint64, expected);
    ReconnectPolicy policy;
    for (qint64 at : attempts)
        policy.attemptStarted(at);
    for (int i = 0; i < failures; ++i)
        policy.attemptFailed();
    QCOMPARE(policy.nextDelayMs(110000, jitter), expected);
}

void TestClusterSession::nodeOrder()
{
    ReconnectPolicy policy;
    policy.setNodes({"HOME", "h", "1", false},
                    {{"A", "a", "1", false}, {"B", "b", "1", true}, {"C", "c", "1", false},
                     {"D", "d", "1", true}});
    QStringList order;
    for (int i = 0; i < 10; ++i) {
        order << policy.nextNode().name;
        policy.attemptFailed();
    }
    QCOMPARE(order, (QStringList{"HOME", "HOME", "HOME", "B", "D", "A", "C", "HOME", "HOME",
                                 "HOME"}));
    policy.succeeded();
    QCOMPARE(policy.nextNode().name, QString("HOME"));
}

QTEST_GUILESS_MAIN(TestClusterSession)
#include "tst_cluster_session.moc"
