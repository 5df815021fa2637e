#include "TestFiles.h"
#include "FakeClusterNode.h"
#include "MainWindowFixture.h"
#include "TestContext.h"

#include "app/LampShape.h"
#include "app/Tform1.h"
#include "net/TIdTelnet.h"
#include "session/ClusterSession.h"
#include "session/NodeGrid.h"
#include "session/TerminalPane.h"
#include "spots/BandStrip.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {
const QByteArray kSpot =
    "DX de Q1AAA:     14025.0  Q9ZZZ        CW 599                    2330Z\r\n";
const QString kSpotShown = "DX de Q1AAA:     14025.0  Q9ZZZ        CW 599               ";
} // namespace

class TestSession : public QObject
{
    Q_OBJECT
private slots:
    void cleanupTestCase();
    void startState();
    void layout_data();
    void layout();
    void loginAndCommands();
    void shortCommandSendsEmptyLine_data();
    void shortCommandSendsEmptyLine();
    void localCommands_data();
    void localCommands();
    void commandLineHoldsAtMost35();
    void sendWhileNotConnected();
    void connectFailures_data();
    void connectFailures();
    void nodeClosesConnection_data();
    void nodeClosesConnection();
    void refusedNodeSaveIsShown();
    void disconnectClosesSession();
    void noConnectDuringDisconnectPause();
    void spotTailWaitsForItsLineEnd_data();
    void spotTailWaitsForItsLineEnd();
    void sendDuringConnectWaitsForTheOutcome_data();
    void sendDuringConnectWaitsForTheOutcome();
    void keepAliveSendsBareLineEnd_data();
    void keepAliveSendsBareLineEnd();
    void infoTextsRotate();
    void firstStartSavesEmptyNode();
    void chosenNodeSurvivesRestart();
    void missingNodeListReportedOnce();
    void incomingLines_data();
    void incomingLines();
    void bandPanelTogglesTwentyMetres();
    void allRedAndAllGreen();
    void bandStripShowsAndHides();
    void warningBeforeEntry210001();
    void nothingOvertakesTheWarningBox();
    void nothingOvertakesTheWarningBoxOfATail();

private:
    // A window the layout rows only read, made at the first of them.
    std::unique_ptr<MainWindowFixture> m_layout;
};

void TestSession::cleanupTestCase()
{
    m_layout.reset();
}

void TestSession::startState()
{
    MainWindowFixture f;
    Tform1& w = *f.form;
    QCOMPARE(w.windowTitle(), QString("Marvix Terminal"));
    QCOMPARE(w.size(), QSize(815, 647));
    QCOMPARE(f.lines(), QStringList{"Press 'Connect'"});
    QCOMPARE(w.Re3->lineCount(), 2);
    QCOMPARE(w.Re3->line(0),
             QString("Press CONNECT BUTTON, then WRITE your CALL SIGN and press ENTER"));
    QCOMPARE(w.Re3->line(1), QString("Remember also that you must SET ACTIVE LIVE CHECK option"));
    QCOMPARE(w.EditCommand->text(), QString("Your Call for Login"));
    QVERIFY(w.EditCommand->palette().color(QPalette::Text) != QColor(Qt::black));
    QVERIFY(w.Memo1->toPlainText().startsWith(
        "Welcome in Marvix Terminal, first of all you can check if a Node is pinged\n"));
    QVERIFY(w.BitBtn2->isEnabled());
    QVERIFY(!w.BitBtn3->isEnabled());
    QVERIFY(w.Label4->isHidden());
    QVERIFY(w.Panel11->isHidden());
    QVERIFY(QTest::qWaitFor(
        [&] {
            return w.ShapeLED->brushColor() == QColor(255, 0, 0) &&
                   w.ShapeLED2->brushColor() == QColor(255, 0, 0);
        },
        1000));
    QVERIFY(!w.isConnected() && w.soundOn() && !w.rigOpen() && !w.liveCheckOn() && w.countedLines() == 0);
    QCOMPARE(w.EditCommand->maxLength(), 35);
    QWidget* first = w.nextInFocusChain();
    while (first && !(first->focusPolicy() & Qt::TabFocus))
        first = first->nextInFocusChain();
    QCOMPARE(first, w.EditCommand);
}

void TestSession::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::newRow("Re1") << "Re1" << QRect(1, 95, 784, 263) << ""
                         << "Click to tune your radio through Omnirig";
    QTest::newRow("Re3") << "Re3" << QRect(0, 380, 510, 115) << ""
                         << "Click to tune your radio through Omnirig";
    QTest::newRow("EditCommand") << "EditCommand" << QRect(278, 498, 232, 23) << ""
                                 << "Your Text Here";
    QTest::newRow("BitBtn2") << "BitBtn2" << QRect(0, 497, 89, 25) << "Connect"
                             << "Connect to choosen selected cluster node";
    QTest::newRow("BitBtn3") << "BitBtn3" << QRect(681, 497, 104, 25) << "Disconnect"
                             << "";
    QTest::newRow("BitBtn5") << "BitBtn5" << QRect(328, 527, 182, 25) << "Send Text (commands)"
                             << "Send what is written above, use also ENTER";
    QTest::newRow("BitBtn1") << "BitBtn1" << QRect(681, 529, 105, 23) << "Exit  Terminal"
                             << "";
    QTest::newRow("BitBtn4") << "BitBtn4" << QRect(702, 64, 83, 25) << "Font"
                             << "Change Font, Size, Color";
    QTest::newRow("BitBtn6") << "BitBtn6" << QRect(0, 360, 102, 18) << "Bands Filtering"
                             << "";
    QTest::newRow("StringGrid1") << "StringGrid1" << QRect(0, 525, 298, 117) << ""
                                 << "";
    QTest::newRow("Edit1") << "Edit1" << QRect(112, 498, 160, 23) << ""
                           << "";
    QTest::newRow("ListView1") << "ListView1" << QRect(513, 395, 272, 100) << ""
                               << "Click a callsign to look it up on QRZ.com";
    QTest::newRow("ComboBox1") << "ComboBox1" << QRect(552, 66, 146, 23) << ""
                               << "Choose your preferred Theme";
    QTest::newRow("SpeedButton2") << "SpeedButton2" << QRect(5, 7, 23, 22) << ""
                                  << "Show Dx Calendar";
    QTest::newRow("SpeedButton3") << "SpeedButton3" << QRect(143, 7, 23, 22) << ""
                                  << "Set LIVE CHECK of SPOTS in DX-Peditions list";
    QTest::newRow("SpeedButton1") << "SpeedButton1" << QRect(304, 528, 23, 25) << ""
                                  << "Show CCC commands (browser will be open)";
    QTest::newRow("SpeedButton8") << "SpeedButton8" << QRect(54, -2, 33, 22) << "Rig 1"
                                  << "";
    QTest::newRow("SpeedButton10") << "SpeedButton10" << QRect(126, -2, 23, 22) << ""
                                   << "Close Omnirig Connection";
    QTest::newRow("Label6") << "Label6" << QRect(6, 3, -1, -1) << "Omnirig:"
                            << "Omnirig 1.xx must be configured (only for HF bands)";
    QTest::newRow("Label1") << "Label1" << QRect(6, 4, -1, -1) << "Mute/Unmute  Dx Sound"
                            << "";
    QTest::newRow("Memo1") << "Memo1" << QRect(4, 2, 476, 80) << ""
                           << "";
    QTest::newRow("Panel11") << "Panel11" << QRect(106, 359, 502, 21) << ""
                             << "";
    QTest::newRow("Image1") << "Image1" << QRect(1, 0, 456, 90) << ""
                            << "";
}

void TestSession::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    if (!m_layout)
        m_layout = std::make_unique<MainWindowFixture>();
    auto* w = m_layout->form->findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    // The shown window has had one scaling pass at its design size, which
    // moves a control designed at Left or Top 0 to 1.
    const auto shown = [](int v) { return v == 0 ? 1 : v; };
    QCOMPARE(w->pos(), QPoint(shown(geometry.x()), shown(geometry.y())));
    if (geometry.width() > 0)
        QCOMPARE(w->size(), geometry.size());
    QCOMPARE(w->toolTip(), hint);
    if (!caption.isEmpty()) {
        const QVariant text = w->property("text");
        QCOMPARE(text.toString(), caption);
    }
}

void TestSession::loginAndCommands()
{
    FakeClusterNode node;
    node.setGreeting("Welcome to the test node\r\nlogin: ");
    MainWindowFixture f;
    QVERIFY(f.connectTo(node));
    QVERIFY(f.waitForLine("Trying Connection...if fail try another node or RESTART APP"));
    QVERIFY(
        QTest::qWaitFor([&] { return f.form->ShapeLED->brushColor() == QColor(0, 255, 0); }, 1000));
    QVERIFY(QTest::qWaitFor(
        [&] { return !f.form->BitBtn2->isEnabled() && f.form->BitBtn3->isEnabled(); }, 1000));

    // The login is an ordinary line typed by the user.
    f.form->EditCommand->setFocus();
    QCOMPARE(f.form->EditCommand->text(), QString());
    QCOMPARE(f.form->EditCommand->palette().color(QPalette::Text), QColor(Qt::black));
    QTest::keyClicks(f.form->EditCommand, "N0CALL");
    QTest::keyClick(f.form->EditCommand, Qt::Key_Return);
    QVERIFY(node.waitForReceived("N0CALL\r\n"));
    QVERIFY(f.lines().contains("> N0CALL"));
    QCOMPARE(f.form->EditCommand->text(), QString());

    f.type("sh/dx");
    QTest::mouseClick(f.form->BitBtn5, Qt::LeftButton);
    QVERIFY(node.waitForReceived("sh/dx\r\n"));
    QVERIFY(f.lines().contains("> sh/dx"));
}

void TestSession::shortCommandSendsEmptyLine_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("one character") << "x";
    QTest::newRow("empty") << "";
}

void TestSession::shortCommandSendsEmptyLine()
{
    QFETCH(QString, typed);
    FakeClusterNode node;
    MainWindowFixture f;
    QVERIFY(f.connectTo(node));
    f.type(typed);
    QTest::mouseClick(f.form->BitBtn5, Qt::LeftButton);
    QVERIFY(node.waitForReceived("\r\n"));
    QCOMPARE(node.received(), QByteArray("\r\n"));
    QCOMPARE(f.lines().last(), QString("> "));
    QCOMPARE(f.form->EditCommand->text(), QString());
}

void TestSession::localCommands_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("counterShown");
    QTest::newRow("//lc") << "//lc"
                          << "Contatore linee attivo" << true;
    QTest::newRow("//lc and more") << "//lc now"
                                   << "Contatore linee attivo" << true;
    QTest::newRow("capitals") << "//LC"
                              << "Command not recognized" << false;
    QTest::newRow("other") << "//help"
                           << "Command not recognized" << false;
}

void TestSession::localCommands()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(bool, counterShown);
    FakeClusterNode node;
    MainWindowFixture f;
    QVERIFY(f.connectTo(node));
    const int before = f.form->Re1->lineCount();
    f.type(typed);
    QTest::keyClick(f.form->EditCommand, Qt::Key_Return);
    QCOMPARE(f.ctx.messages, QStringList{message});
    QCOMPARE(f.form->Label4->isVisible(), counterShown);
    QCOMPARE(f.form->EditCommand->text(), QString());
    QCOMPARE(f.form->Re1->lineCount(), before);
    QTest::qWait(100);
    QCOMPARE(node.received(), QByteArray());
}

void TestSession::commandLineHoldsAtMost35()
{
    MainWindowFixture f;
    f.type(QString(40, QChar('A')));
    QCOMPARE(f.form->EditCommand->text(), QString(35, QChar('A')));
}

void TestSession::sendWhileNotConnected()
{
    MainWindowFixture f;
    f.type("sh/dx");
    QTest::mouseClick(f.form->BitBtn5, Qt::LeftButton);
    QCOMPARE(f.lines().last(), QString("Telnet connection is not active"));
    QVERIFY(f.waitForLine("Disconnected "));
    QCOMPARE(f.form->EditCommand->text(), QString("sh/dx"));
    QVERIFY(f.form->BitBtn2->isEnabled());
    QVERIFY(!f.form->isConnected());
}

void TestSession::connectFailures_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QStringList>("expected");
    const QString trying = "Trying Connection...if fail try another node or RESTART APP";
    QTest::newRow("refused") << "127.0.0.1" << QString::number(FakeClusterNode::refusingPort())
                             << QStringList{"Connection failed: Socket Error # 10061",
                                            "Connection refused.", trying};
    QTest::newRow("unknown host") << "no-such-node.invalid"
                                  << "7300"
                                  << QStringList{"Connection failed: Socket Error # 11001",
                                                 "Host not found.", trying};
    QTest::newRow("empty host") << ""
                                << "7300"
                                << QStringList{"Connection failed: A Host is required", trying};
    QTest::newRow("port zero") << "127.0.0.1"
                               << "0"
                               << QStringList{"Connection failed: A Port is required", trying};
    QTest::newRow("port not a number")
        << "127.0.0.1"
        << "telnet"
        << QStringList{"Connection failed: 'telnet' is not a valid port number", trying};
    QTest::newRow("port too big")
        << "127.0.0.1"
        << "70000" << QStringList{"Connection failed: port 70000 is outside 0 to 65535", trying};
    QTest::newRow("no node chosen")
        << ""
        << "" << QStringList{"Connection failed: no port given; choose a node in the list", trying};
}

void TestSession::connectFailures()
{
    QFETCH(QString, address);
    QFETCH(QString, port);
    QFETCH(QStringList, expected);
    MainWindowFixture f;
    f.choose(address, port);
    QTest::mouseClick(f.form->BitBtn2, Qt::LeftButton);
    QVERIFY(f.waitForLine(expected.last(), 15000));
    QCOMPARE(f.lines().mid(1), expected);
    QVERIFY(!f.form->isConnected());
    QVERIFY(QTest::qWaitFor([&] { return f.form->BitBtn2->isEnabled(); }, 1000));
}

void TestSession::nodeClosesConnection_data()
{
    QTest::addColumn<bool>("reset");
    QTest::newRow("closed") << false;
    QTest::newRow("reset") << true;
}

void TestSession::nodeClosesConnection()
{
    QFETCH(bool, reset);
    FakeClusterNode node;
    MainWindowFixture f;
    QVERIFY(f.connectTo(node));
    node.send("73 de the test node\r\n");
    if (reset) {
        QVERIFY(f.waitForLine("73 de the test node"));
        node.resetClient();
    } else {
        node.closeClient();
    }
    QVERIFY(f.waitForLine("73 de the test node"));
    QVERIFY(QTest::qWaitFor([&] { return !f.form->isConnected(); }, 2000));
    QVERIFY(f.waitForLine("Disconnected "));
    QVERIFY(QTest::qWaitFor(
        [&] {
            return f.form->ShapeLED->brushColor() == QColor(255, 0, 0) &&
                   f.form->BitBtn2->isEnabled() && !f.form->BitBtn3->isEnabled();
        },
        1000));
    QVERIFY(f.lines().indexOf("73 de the test node") < f.lines().indexOf("Disconnected "));

    // A send now finds no client.
    f.type("sh/dx");
    QTest::mouseClick(f.form->BitBtn5, Qt::LeftButton);
    QCOMPARE(f.lines().last(), QString("Telnet connection is not active"));
}

void TestSession::disconnectClosesSession()
{
    FakeClusterNode node;
    MainWindowFixture f;
    QVERIFY(f.connectTo(node));
    QTest::qWait(50);
    QTest::mouseClick(f.form->BitBtn3, Qt::LeftButton);
    QVERIFY(!f.form->isConnected());
    QVERIFY(!f.form->session()->hasClient());
    QVERIFY(node.waitForClientGone());
    QVERIFY(!f.lines().contains("Disconnected "));
    QVERIFY(f.waitForLine("Disconnected "));
    QVERIFY(f.form->BitBtn2->isEnabled());
}

void TestSession::noConnectDuringDisconnectPause()
{
    FakeClusterNode node;
    MainWindowFixture f([](AppContext& app) { app.timings.disconnectPauseMs = 400; });
    QVERIFY(f.connectTo(node));
    QVERIFY(QTest::qWaitFor([&] { return f.form->BitBtn3->isEnabled(); }, 1000));
    QTest::mouseClick(f.form->BitBtn3, Qt::LeftButton);
    QTest::qWait(100); // Timer5 ticks several times within the pause
    QVERIFY(!f.form->BitBtn2->isEnabled());
    f.form->BitBtn2Click();
    QVERIFY(f.waitForLine("Disconnected "));
    QCOMPARE(node.connections(), 1);
    QCOMPARE(f.lines().last(), QString("Disconnected "));
    QVERIFY(f.form->BitBtn2->isEnabled());
    // And a new session opens normally afterwards.
    f.form->BitBtn2Click();
    QVERIFY(QTest::qWaitFor([&] { return f.form->isConnected(); }, 5000));
    QCOMPARE(node.connections(), 2);
}

// A spot cut by a lost segment: the rest comes after a retransmission, later
// than a prompt's pause, and the spot must still be shown whole.
void TestSession::spotTailWaitsForItsLineEnd_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("rest");
    QTest::newRow("cut in its frequency") << kSpot.left(20) << kSpot.mid(20);
    QTest::newRow("cut after its D") << kSpot.left(1) << kSpot.mid(1);
    QTest::newRow("bells, then cut after its D") << "\a\aD" + QByteArray() << kSpot.mid(1);
}

void TestSession::spotTailWaitsForItsLineEnd()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, rest);
    FakeClusterNode node;
    MainWindowFixture f;
    QVERIFY(f.connectTo(node));
    QVERIFY(f.waitForLine("Trying Connection...if fail try another node or RESTART APP"));
    const int before = f.form->Re1->lineCount();
    node.send(first);
    QTest::qWait(150); // longer than a prompt waits, shorter than a spot tail
    node.send(rest);
    QVERIFY(f.waitForLine(kSpotShown.left(60)));
    QCOMPARE(f.lines().mid(before), QStringList{kSpotShown.left(60)});
    QCOMPARE(f.form->countedLines(), 1);
}

void TestSession::sendDuringConnectWaitsForTheOutcome_data()
{
    QTest::addColumn<bool>("accepts");
    QTest::newRow("node accepts after 500 ms") << true;
    QTest::newRow("node refuses") << false;
}

// The user presses "Connect", types the callsign and presses Enter before
// the node has answered: the line goes once the connect is done, exactly as
// if the window had waited for it.
void TestSession::sendDuringConnectWaitsForTheOutcome()
{
    QFETCH(bool, accepts);
    FakeClusterNode node;
    MainWindowFixture f;
    f.choose("127.0.0.1", QString::number(accepts ? node.port() : FakeClusterNode::refusingPort()));
    if (accepts)
        node.stallAccepting(500);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(f.form->BitBtn2, Qt::LeftButton);
    f.type("N0CALL");
    QTest::keyClick(f.form->EditCommand, Qt::Key_Return);
    QCOMPARE(f.form->EditCommand->text(), QString("N0CALL"));
    QVERIFY(!f.form->isConnected());

    QVERIFY(f.waitForLine("Trying Connection...if fail try another node or RESTART APP"));
    const QStringList lines = f.lines();
    const qsizetype trying =
        lines.indexOf("Trying Connection...if fail try another node or RESTART APP");
    if (accepts) {
        QVERIFY(node.waitForReceived("N0CALL\r\n"));
        QVERIFY(f.form->isConnected());
        QVERIFY(clock.elapsed() >= 500);
        QCOMPARE(f.lines().mid(trying + 1), QStringList{"> N0CALL"});
        QCOMPARE(f.form->EditCommand->text(), QString());
        // The session goes on as usual.
        f.type("sh/dx");
        QTest::keyClick(f.form->EditCommand, Qt::Key_Return);
        QVERIFY(node.waitForReceived("N0CALL\r\nsh/dx\r\n"));
    } else {
        QCOMPARE(lines.at(trying - 2), QString("Connection failed: Socket Error # 10061"));
        QVERIFY(f.waitForLine("Disconnected "));
        QCOMPARE(f.lines().mid(trying + 1),
                 (QStringList{"Telnet connection is not active", "Disconnected "}));
        QCOMPARE(f.form->EditCommand->text(), QString("N0CALL"));
    }
}

// The keep-alive sends an empty line of its own and leaves the command line
// alone: neither the grey hint nor half a typed command reaches the node.
void TestSession::keepAliveSendsBareLineEnd_data()
{
    QTest::addColumn<QString>("typed"); // empty: the hint stays, never focused
    QTest::newRow("login hint") << QString();
    QTest::newRow("half a command") << "sh/d";
}

void TestSession::keepAliveSendsBareLineEnd()
{
    QFETCH(QString, typed);
    FakeClusterNode node;
    MainWindowFixture f([](AppContext& app) { app.timings.keepAliveMs = 300; });
    QVERIFY(f.connectTo(node));
    if (!typed.isEmpty())
        f.type(typed);
    const QString held = f.form->EditCommand->text();
    QCOMPARE(held, typed.isEmpty() ? QString("Your Call for Login") : typed);
    QVERIFY(node.waitForReceived("\r\n\r\n"));
    QCOMPARE(node.received(), QByteArray("\r\n\r\n"));
    QCOMPARE(f.form->EditCommand->text(), held);
    QCOMPARE(f.lines().count("> "), 2);
}

void TestSession::infoTextsRotate()
{
    MainWindowFixture f([](AppContext& app) { app.timings.infoTextMs = 30; });
    // The fixture waits for the window to be shown, long enough on a slow
    // machine for the texts to have moved on: start from the first one.
    QVERIFY(QTest::qWaitFor([&] { return f.form->infoTextIndex() == 0; }, 2000));
    const QString first = f.form->Memo1->toPlainText();
    QVERIFY(QTest::qWaitFor([&] { return f.form->infoTextIndex() == 1; }, 2000));
    QVERIFY(f.form->Memo1->toPlainText().startsWith("All spots from the cluster are checked"));
    QVERIFY(QTest::qWaitFor([&] { return f.form->infoTextIndex() == 0; }, 2000));
    QCOMPARE(f.form->Memo1->toPlainText(), first);
}


void TestSession::firstStartSavesEmptyNode()
{
    TestContext ctx;
    Tform1 w(ctx.make());
    QCOMPARE(w.Edit1->text(), QString());
    QFile ini(ctx.dir() + "/settings.ini");
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("Elemento="));
    QCOMPARE(w.terminalFont().size, 12);
    QCOMPARE(w.terminalFont().color, 10000);
    QVERIFY(ctx.messages.isEmpty());
}

void TestSession::chosenNodeSurvivesRestart()
{
    TestContext ctx;
    writeFile(ctx.dir() + "/nodes.txt",
              "name_of_node;address;port\r\nNODE-A;a.example; 7300\r\nNODE-B;127.0.0.1;7373\r\n");
    {
        Tform1 w(ctx.make());
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        // The heading line is the fixed top row.
        QVERIFY(w.StringGrid1->horizontalHeader()->isVisible());
        QCOMPARE(w.StringGrid1->horizontalHeaderItem(1)->text(), QString("address"));
        w.StringGrid1->setCurrentCell(1, 0);
        QCOMPARE(w.Edit1->text(), QString("NODE-A"));
        QCOMPARE(w.chosenAddress(), QString("a.example"));
        QCOMPARE(w.chosenPort(), QString(" 7300"));
        w.StringGrid1->setCurrentCell(2, 1);
        QCOMPARE(w.Edit1->text(), QString("NODE-B"));
    }
    Tform1 again(ctx.make());
    again.show();
    QVERIFY(QTest::qWaitForWindowActive(&again));
    QCOMPARE(again.Edit1->text(), QString("NODE-B"));
    QCOMPARE(again.chosenAddress(), QString("127.0.0.1"));
    QCOMPARE(again.chosenPort(), QString("7373"));
    QCOMPARE(again.StringGrid1->currentRow(), 2);
}

void TestSession::refusedNodeSaveIsShown()
{
    TestContext ctx;
    writeFile(ctx.dir() + "/nodes.txt", "name_of_node;address;port\r\nNODE-A;a.example;7300\r\n");
    writeFile(ctx.dir() + "/not-a-folder", "");
    AppContext app = ctx.make();
    app.programDir = ctx.dir() + "/not-a-folder"; // settings.ini cannot be made inside a file
    Tform1 w(app);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.StringGrid1->setCurrentCell(1, 0);
    QCOMPARE(w.chosenAddress(), QString("a.example"));
    QVERIFY(!ctx.messages.isEmpty());
    QCOMPARE(ctx.messages.last(), "Unable to write to " + ctx.dir() + "/not-a-folder/settings.ini");
}

void TestSession::missingNodeListReportedOnce()
{
    TestContext ctx;
    QFile::remove(ctx.dir() + "/nodes.txt");
    Tform1 w(ctx.make());
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QWidget other;
    other.show();
    other.activateWindow();
    QTest::qWait(50);
    w.activateWindow();
    QTest::qWait(50);
    QStringList reports;
    for (int i = 0; i < w.Re1->lineCount(); ++i)
        if (w.Re1->line(i).contains("name_of_node;address;port"))
            reports << w.Re1->line(i);
    QCOMPARE(reports.size(), 1);
    QVERIFY(reports[0].contains("nodes.txt"));
    QVERIFY(ctx.messages.isEmpty());
}

using Writes = QList<QByteArray>;

void TestSession::incomingLines_data()
{
    QTest::addColumn<Writes>("writes");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("spot cut to 60") << Writes{kSpot} << QStringList{kSpotShown.left(60)};
    QTest::newRow("between 20 m and 17 m")
        << Writes{"DX de Q1AAA:     14352.0  Q9ZZZ        CW\r\n"} << QStringList{};
    QTest::newRow("two spots in one write")
        << Writes{kSpot + "DX de K1TTT:      7005.0  Q9YYY        CW 559\r\n"}
        << QStringList{kSpotShown.left(60), "DX de K1TTT:      7005.0  Q9YYY        CW 559"};
    QTest::newRow("spot split in its frequency")
        << Writes{kSpot.left(20), kSpot.mid(20)} << QStringList{kSpotShown.left(60)};
    QTest::newRow("login prompt without line end")
        << Writes{"Welcome\r\nlogin: "} << QStringList{"Welcome", "login:"};
    QTest::newRow("announcement") << Writes{"To ALL de EA8ABC: 14352.0 is busy\r\n"}
                                  << QStringList{"To ALL de EA8ABC: 14352.0 is busy"};
    QTest::newRow("lower-case dx de shown whole")
        << Writes{"dx de Q1AAA:     14352.0  Q9ZZZ        CW 599 and a very long comment that goes "
                  "on\r\n"}
        << QStringList{"dx de Q1AAA:     14352.0  Q9ZZZ        CW 599 and a very long comment that "
                       "goes on"};
    QTest::newRow("empty line is an entry") << Writes{"\r\n"} << QStringList{""};
    QTest::newRow("DX line without frequency digits")
        << Writes{"DX is the hobby\r\n"} << QStringList{"DX is the hobby"};
    QTest::newRow("utf-8 letter split between writes")
        << Writes{"To ALL de I2ABC: caff\xC3", "\xA8 QRV\r\n"}
        << QStringList{QString::fromUtf8("To ALL de I2ABC: caffè QRV")};
    QTest::newRow("lines ended by lf cr")
        << Writes{"To ALL de A: one\n\rTo ALL de A: t", "wo\n", "\r\n\r"}
        << QStringList{"To ALL de A: one", "To ALL de A: two", ""};
    QTest::newRow("bells at the end of a spot")
        << Writes{"DX de Q1AAA:     14025.0  Q9ZZZ        CW\x07\x07\r\n"}
        << QStringList{"DX de Q1AAA:     14025.0  Q9ZZZ        CW"};
}

void TestSession::incomingLines()
{
    QFETCH(Writes, writes);
    QFETCH(QStringList, shown);
    FakeClusterNode node;
    MainWindowFixture f;
    QVERIFY(f.connectTo(node));
    QVERIFY(f.waitForLine("Trying Connection...if fail try another node or RESTART APP"));
    const int before = f.form->Re1->lineCount();
    for (const QByteArray& w : writes) {
        node.send(w);
        QTest::qWait(5);
    }
    if (!shown.isEmpty())
        QVERIFY(f.waitForLine(shown.last()));
    node.send("To ALL de END: end\r\n");
    QVERIFY(f.waitForLine("To ALL de END: end"));
    QCOMPARE(f.lines().mid(before, f.lines().size() - before - 1), shown);
    QCOMPARE(f.form->countedLines(), shown.size() + 1);
    QCOMPARE(f.form->Label4->text(), QString::number(shown.size() + 1));
}

void TestSession::bandPanelTogglesTwentyMetres()
{
    FakeClusterNode node;
    MainWindowFixture f;
    QVERIFY(f.connectTo(node));
    QTest::mouseClick(f.form->BitBtn6, Qt::LeftButton);
    QVERIFY(f.form->Panel11->isVisible());
    auto* m20 = f.form->findChild<QWidget*>("m20");
    QVERIFY(m20);
    QTest::mouseClick(m20, Qt::LeftButton);
    QVERIFY(!f.form->bands().isOn(BandFilter::Band::m20));
    node.send("DX de Q1AAA:     14025.0  Q9OFF        CW\r\nTo ALL de X: mark\r\n");
    QVERIFY(f.waitForLine("To ALL de X: mark"));
    QTest::mouseClick(m20, Qt::LeftButton);
    node.send("DX de Q1AAA:     14025.0  Q9ON         CW\r\n");
    QVERIFY(f.waitForLine("DX de Q1AAA:     14025.0  Q9ON         CW"));
    QVERIFY(!f.lines().join('\n').contains("Q9OFF"));
    QCOMPARE(f.form->countedLines(), 2);
}

void TestSession::allRedAndAllGreen()
{
    FakeClusterNode node;
    MainWindowFixture f;
    QVERIFY(f.connectTo(node));
    QTest::mouseClick(f.form->BitBtn6, Qt::LeftButton);
    QTest::mouseClick(f.form->findChild<QPushButton*>("BitBtn8"), Qt::LeftButton);
    QCOMPARE(f.lines().last(), QString("-----> Total Local Filtering, All Bands are Inactive"));
    QCOMPARE(f.form->countedLines(), 0);
    node.send(kSpot + "WWV de W0MU <21>:   SFI=118, A=8, K=2\r\n");
    QVERIFY(f.waitForLine("WWV de W0MU <21>:   SFI=118, A=8, K=2"));
    QVERIFY(!f.lines().contains(kSpotShown.left(60)));
    QTest::mouseClick(f.form->findChild<QPushButton*>("BitBtn9"), Qt::LeftButton);
    QCOMPARE(f.lines().last(), QString("-----> Local Filtering Reset, All Bands are Active"));
    for (BandFilter::Band b : BandFilter::bands())
        QVERIFY(f.form->bands().isOn(b));
    QCOMPARE(f.form->countedLines(), 1);
}

void TestSession::bandStripShowsAndHides()
{
    MainWindowFixture f;
    QTest::mouseClick(f.form->BitBtn6, Qt::LeftButton);
    QVERIFY(f.form->Panel11->isVisible());
    QTest::mouseClick(f.form->findChild<QWidget*>("m40"), Qt::LeftButton);
    QTest::mouseClick(f.form->BitBtn6, Qt::LeftButton);
    QVERIFY(f.form->Panel11->isHidden());
    QVERIFY(!f.form->bands().isOn(BandFilter::Band::m40));
}

void TestSession::warningBeforeEntry210001()
{
    FakeClusterNode node;
    MainWindowFixture f([](AppContext& app) { app.countedLinesAtStart = 209999; });
    QVERIFY(f.connectTo(node));
    node.send("To ALL de A: one\r\n");
    QVERIFY(f.waitForLine("To ALL de A: one"));
    QCOMPARE(f.form->countedLines(), 210000);
    QVERIFY(f.ctx.messages.isEmpty());
    node.send("To ALL de A: two\r\nTo ALL de A: three\r\n");
    QVERIFY(f.waitForLine("To ALL de A: three"));
    QCOMPARE(f.ctx.messages, QStringList{"CAUTION: more than 200.000 lines received, please "
                                         "disconnect and restart application"});
    QCOMPARE(f.form->countedLines(), 210002);
}

void TestSession::nothingOvertakesTheWarningBox()
{
    FakeClusterNode node;
    MainWindowFixture f;
    // A modal box runs its own event loop while it waits for the user.
    AppContext app = f.ctx.make();
    f.form.reset();
    app.showMessage = [&](const QString&) {
        node.send("login: ");
        QTest::qWait(300);
    };
    app.countedLinesAtStart = Tform1::kRe1Warning; // the next line warns first
    f.form = std::make_unique<Tform1>(app);
    f.form->show();
    QVERIFY(f.connectTo(node));
    node.send("To ALL de A: one\r\n");
    const bool seen = f.waitForLine("login:");
    QVERIFY2(seen, qPrintable(f.lines().join(" | ")));
    QVERIFY(f.lines().indexOf("To ALL de A: one") < f.lines().indexOf("login:"));
    QCOMPARE(f.form->countedLines(), Tform1::kRe1Warning + 2);
}

// The warning box opened by a tail that the silence timer shows: a line the
// node sends while the box is open waits for it, as after a chunk.
void TestSession::nothingOvertakesTheWarningBoxOfATail()
{
    FakeClusterNode node;
    MainWindowFixture f;
    AppContext app = f.ctx.make();
    f.form.reset();
    app.showMessage = [&](const QString& text) {
        f.ctx.messages.append(text);
        node.send("To ALL de A: two\r\n");
        QTest::qWait(300);
    };
    app.countedLinesAtStart = Tform1::kRe1Warning; // the next line warns first
    f.form = std::make_unique<Tform1>(app);
    f.form->show();
    QVERIFY(f.connectTo(node));
    node.send("login: ");
    const bool seen = f.waitForLine("To ALL de A: two");
    QVERIFY2(seen, qPrintable(f.lines().join(" | ")));
    QCOMPARE(f.ctx.messages.size(), 1);
    QVERIFY(f.lines().indexOf("login:") < f.lines().indexOf("To ALL de A: two"));
    QCOMPARE(f.form->countedLines(), Tform1::kRe1Warning + 2);
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
