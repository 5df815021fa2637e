// What a hostile or broken node can do to a session, played by a real peer
// on the loopback against the real window.

#include "FakeClusterNode.h"
#include "LatencyProbe.h"
#include "MainWindowFixture.h"
#include "ProcessMemory.h"
#include "Sanitizers.h"
#include "StreamNode.h"
#include "TestContext.h"

#include "app/DefaultContext.h"
#include "app/LampShape.h"
#include "app/Tform1.h"
#include "session/TerminalPane.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

namespace {

const QColor kRed(255, 0, 0);
const QColor kLime(0, 255, 0);

using Window = MainWindowFixture;

} // namespace

class TestHostileNode : public QObject
{
    Q_OBJECT
private slots:
    void resetIsNoticedAtOnce_data();
    void resetIsNoticedAtOnce();
    void bidirectionalControlsAreNotShown();
    void negotiationFloodEndsTheSession();
    void pauseInsideALetterKeepsItWhole();
    void spotPaneKeepsALineLimit();
    void cautionBoxHoldsNoWatchdog();
};

void TestHostileNode::resetIsNoticedAtOnce_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("waitUntilShown");
    const QByteArray spot = "DX de Q1AAA:     14025.0  Q9ZZ         CW                             0712Z\r\n";
    QTest::newRow("after a complete line, at once") << QByteArray("Hello N0CALL\r\n" + spot) << false;
    QTest::newRow("in the middle of a line, at once")
        << QByteArray("Hello N0CALL\r\nDX de Q1AAA:     14025.0  Q9Z") << false;
    QTest::newRow("after a line the user has seen") << QByteArray("Hello N0CALL\r\n") << true;
    QTest::newRow("in the middle of a line the user has seen")
        << QByteArray("Hello N0CALL\r\nDX de Q1AAA:     14025.0  Q9Z") << true;
}

// A node that resets the connection ends the session as one that closes it:
// the "Disconnected " line and the red lamp come at once, exactly once, and
// Connect starts a new session.
void TestHostileNode::resetIsNoticedAtOnce()
{
    QFETCH(QByteArray, sent);
    QFETCH(bool, waitUntilShown);
    std::atomic<bool> shown{false};
    StreamNode node([&](StreamNode::Link& link) {
        link.write(sent);
        while (waitUntilShown && !shown)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (waitUntilShown)
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        link.reset();
    });
    Window w;
    LatencyProbe probe;
    probe.start();
    QVERIFY(w.connectTo(node.port()));
    if (waitUntilShown) {
        QVERIFY(w.waitForLine(QStringLiteral("Hello N0CALL")));
        shown = true;
    }
    QVERIFY2(QTest::qWaitFor([&] { return w.lines().contains(QStringLiteral("Disconnected ")); },
                             2000),
             qPrintable(w.lines().join('|')));
    QVERIFY(QTest::qWaitFor(
        [&] {
            return !w.form->isConnected() && w.form->ShapeLED->brushColor() == kRed &&
                   w.form->BitBtn2->isEnabled();
        },
        2000));
    QTest::qWait(300);
    QCOMPARE(w.lines().count(QStringLiteral("Disconnected ")), 1);
    // What the node sent before the reset is shown once, before the end.
    const QStringList lines = w.lines();
    QCOMPARE(lines.count(QStringLiteral("Hello N0CALL")), 1);
    QVERIFY(lines.indexOf(QStringLiteral("Hello N0CALL")) < lines.indexOf(QStringLiteral("Disconnected ")));
    if (sent.contains("Q9Z")) {
        const QString part = QString::fromLatin1(sent.mid(sent.indexOf("DX de"))).trimmed();
        QCOMPARE(lines.filter(QStringLiteral("Q1AAA")).size(), 1);
        QVERIFY(lines.filter(QStringLiteral("Q1AAA")).first().startsWith(part.left(29)));
    }
    probe.stop();
    QVERIFY(probe.worstMs() <= LatencyProbe::kLimitMs);

    // Connect works again.
    StreamNode next([](StreamNode::Link& link) {
        link.write("Welcome N0CALL\r\n");
        std::this_thread::sleep_for(std::chrono::seconds(3));
    });
    QVERIFY(w.connectTo(next.port()));
    QVERIFY(QTest::qWaitFor([&] { return w.form->ShapeLED->brushColor() == kLime; }, 3000));
    QVERIFY(w.waitForLine(QStringLiteral("Welcome N0CALL")));
}


// A node that asks for options without end and never reads the answers:
// what waits to be written stays bounded, and the session ends as a lost
// connection.
void TestHostileNode::negotiationFloodEndsTheSession()
{
    std::atomic<qint64> sentBytes{0};
    StreamNode node([&](StreamNode::Link& link) {
        link.write("Hello N0CALL\r\n");
        QByteArray block;
        for (int i = 0; i < 65536 / 3; ++i)
            block.append("\xff\xfd\xc8", 3); // IAC DO 200
        // At most 300 MB, until the program drops the connection.
        while (sentBytes < 300LL * 1024 * 1024 && link.write(block))
            sentBytes += block.size();
    });
    Window w;
    const qint64 before = ProcessMemory::residentBytes();
    LatencyProbe probe;
    probe.start();
    QVERIFY(w.connectTo(node.port()));
    QVERIFY(QTest::qWaitFor([&] { return w.lines().contains(QStringLiteral("Disconnected ")); },
                            60000));
    probe.stop();
    QVERIFY(w.lines().contains(QStringLiteral("Hello N0CALL")));
    QVERIFY(QTest::qWaitFor([&] { return w.form->ShapeLED->brushColor() == kRed; }, 2000));
    QVERIFY2(sentBytes < 300LL * 1024 * 1024, "the program kept reading a node it could not answer");
    const qint64 grown = ProcessMemory::residentBytes() - before;
    QVERIFY2(kAddressSanitizer || grown < 64LL * 1024 * 1024, qPrintable(QString::number(grown)));
    QVERIFY(probe.worstMs() <= LatencyProbe::kLimitMs);
}

// A pause that cuts a UTF-8 letter shows the tail without the cut letter,
// which comes whole with the rest of the line.
void TestHostileNode::pauseInsideALetterKeepsItWhole()
{
    std::atomic<bool> tailShown{false};
    StreamNode node([&](StreamNode::Link& link) {
        link.write("Hello N0CALL\r\nTo ALL de DL1AA: Gr\xC3");
        for (int i = 0; i < 400 && !tailShown; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        link.write("\xBC\xC3\x9F""e aus Berlin\r\n");
        std::this_thread::sleep_for(std::chrono::seconds(2));
    });
    Window w;
    QVERIFY(w.connectTo(node.port()));
    QVERIFY(QTest::qWaitFor([&] { return w.lines().contains(QStringLiteral("To ALL de DL1AA: Gr")); }, 5000));
    tailShown = true;
    const QString rest = QString::fromUtf8("\u00FC\u00DF""e aus Berlin");
    QVERIFY2(QTest::qWaitFor([&] { return w.lines().contains(rest); }, 5000),
             qPrintable(w.lines().join('|')));
    QVERIFY(!w.lines().join('|').contains(QChar(0x00C3)));
}

// A line is drawn in the order the program reads it: no override or
// isolate control reaches the pane.
void TestHostileNode::bidirectionalControlsAreNotShown()
{
    const QString rlo(QChar(0x202E)), pdf(QChar(0x202C)), lri(QChar(0x2066)), pdi(QChar(0x2069));
    const QString sent = "DX de Q1AAA:     14025.0  " + rlo + "K0Y3" + pdf +
                         "        CW " + lri + "up" + pdi + "                           0712Z";
    StreamNode node([&](StreamNode::Link& link) {
        link.write("Hello N0CALL\r\n" + sent.toUtf8() + "\r\n");
        std::this_thread::sleep_for(std::chrono::seconds(2));
    });
    Window w;
    QVERIFY(w.connectTo(node.port()));
    QVERIFY(QTest::qWaitFor([&] { return !w.lines().filter("Q1AAA").isEmpty(); }, 5000));
    const QString shown = w.lines().filter("Q1AAA").first();
    QVERIFY2(shown.startsWith("DX de Q1AAA:     14025.0  K0Y3        CW up"), qPrintable(shown));
    for (const QChar c : {QChar(0x202E), QChar(0x202C), QChar(0x2066), QChar(0x2069)})
        QVERIFY(!shown.contains(c));
}

// A flood of live-check hits drops the spot pane's oldest lines instead of
// growing without end.
void TestHostileNode::spotPaneKeepsALineLimit()
{
    Window w;
    QCOMPARE(w.form->Re3->lineLimit(), Tform1::kRe3MaxLines);
    QVERIFY(Tform1::kRe3MaxLines < Tform1::kRe1MaxLines);
}

// The CAUTION box opens inside the line handler and the user leaves it open
// while the node goes on sending and keep-alives go out: the reading waits
// for the box, and that wait is the program's, not a silent node. Pressing
// OK goes on with the same session, the lines held back meanwhile first;
// a node that then falls silent is still found out.
void TestHostileNode::cautionBoxHoldsNoWatchdog()
{
    FakeClusterNode node;
    node.setGreeting("login: ");
    Window w([](AppContext& app) {
        app.showMessage = showMessageBox; // the program's own modal box
        // The login prompt is the last line counted before the warning.
        app.countedLinesAtStart = Tform1::kRe1Warning - 1;
        app.timings.keepAliveMs = 100;
        app.timings.watchdogMs = 300;
        app.timings.reconnectFirstMs = 200;
    });
    QVERIFY(w.connectTo(node));
    QVERIFY(w.waitForLine(QStringLiteral("login:")));
    w.form->EditCommand->setText(QStringLiteral("N0CALL"));
    QTest::mouseClick(w.form->BitBtn5, Qt::LeftButton);
    QVERIFY(node.waitForReceived("N0CALL"));

    // A healthy node: a line every 100 ms.
    int sent = 0;
    QTimer feeder;
    QObject::connect(&feeder, &QTimer::timeout,
                     [&] { node.send(QStringLiteral("To ALL de DL1AA: %1\r\n").arg(++sent).toLatin1()); });
    feeder.start(100);

    // The user reads the box for 1.5 s, then presses OK.
    QString boxText;
    QStringList linesBehindTheBox;
    int sentBehindTheBox = 0;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !boxText.isNull())
            return;
        boxText = box->text();
        QTimer::singleShot(1500, box, [&, box] {
            linesBehindTheBox = w.lines();
            sentBehindTheBox = sent;
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
    });
    user.start(20);

    QVERIFY(QTest::qWaitFor([&] { return sentBehindTheBox > 0; }, 10000));
    QCOMPARE(boxText, QStringLiteral("CAUTION: more than 200.000 lines received, please disconnect "
                                     "and restart application"));
    QVERIFY2(sentBehindTheBox >= 10, qPrintable(QString::number(sentBehindTheBox)));
    QVERIFY(linesBehindTheBox.filter(QStringLiteral("Nothing received")).isEmpty());
    // Every line the node sent behind the box comes after it, in the same
    // session.
    const QString lastBehind = QStringLiteral("To ALL de DL1AA: %1").arg(sentBehindTheBox);
    QVERIFY2(w.waitForLine(lastBehind), qPrintable(w.lines().mid(w.lines().size() - 5).join('|')));
    QTest::qWait(500);
    QVERIFY2(w.lines().filter(QStringLiteral("Nothing received")).isEmpty(),
             qPrintable(w.lines().filter(QStringLiteral("Nothing")).join('|')));
    QVERIFY(!w.lines().contains(QStringLiteral("Disconnected ")));
    QCOMPARE(node.connections(), 1);
    QVERIFY(w.form->isConnected());
    for (int i = 1; i <= sentBehindTheBox; ++i)
        QCOMPARE(w.lines().count(QStringLiteral("To ALL de DL1AA: %1").arg(i)), 1);

    // The node falls silent: the next keep-alive's watchdog ends the session.
    feeder.stop();
    QVERIFY(w.waitForLine(QStringLiteral("Nothing received for 0 s: connection lost"), 3000));
}

QTEST_MAIN(TestHostileNode)
#include "tst_hostile_node.moc"
