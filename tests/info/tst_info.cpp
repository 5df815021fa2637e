#include "TestContext.h"

#include "MarvixVersion.h"
#include "app/Tform1.h"
#include "settings/Hosts.h"
#include "text/InfoText.h"
#include "windows/Tinfo.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

// The link buttons of the main window and the info window.
class TestInfo : public QObject
{
    Q_OBJECT
private slots:
    void linkAddresses_data();
    void linkAddresses();
    void infoTextInOrder();
    void linkButtons_data();
    void linkButtons();
    void addressThatIsNoLink();
    void infoWindow();
};

void TestInfo::linkAddresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("url");
    QTest::newRow("web page") << "https://zoom.earth/maps/satellite/"
                              << "https://zoom.earth/maps/satellite/";
    QTest::newRow("mail") << "mailto:support@marvix-terminal.example"
                          << "mailto:support@marvix-terminal.example";
    QTest::newRow("blanks around") << "  http://127.0.0.1:8080/x  " << "http://127.0.0.1:8080/x";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("no scheme") << "www.example.org" << "";
    QTest::newRow("not an address") << "http://exa mple.org/" << "";
}

void TestInfo::linkAddresses()
{
    QFETCH(QString, address);
    QFETCH(QString, url);
    QCOMPARE(linkUrl(address).toString(), url);
}

// The parts of the text come in the order a reader needs them, with this
// run's own file places.
void TestInfo::infoTextInOrder()
{
    InfoText::Facts facts;
    facts.version = "2.5.1";
    facts.nodeListPath = "/home/op/dx/nodes.txt";
    facts.settingsFolder = "/opt/marvix";
    facts.fileNotes = {"Installed: each user's files are in ~/.local/share/marvix-terminal."};
    const QString text = InfoText::compose(facts);
    QVERIFY(text.startsWith("Marvix Terminal   version 2.5.1\n"));
    const QStringList parts = {"PRIVACY",
                               "keeps no personal data",
                               "Telnet terminal for the amateur-radio DX cluster",
                               "audio alarm",
                               "internet connection is mandatory",
                               "only once you activate it",
                               "STEPS TO FOLLOW",
                               "green \"V\"",
                               "write your callsign",
                               "Activate the LIVE CHECK",
                               "QRZ.com",
                               "tune your radio",
                               "restart the program",
                               "one connection per address",
                               "\"/home/op/dx/nodes.txt\"",
                               "name_of_node;address;port",
                               "No blank rows.",
                               "settings2.ini in /opt/marvix.",
                               "Installed: each user's files",
                               "DISCLAIMER"};
    qsizetype at = 0;
    for (const QString& part : parts) {
        const qsizetype found = text.indexOf(part, at);
        QVERIFY2(found >= 0, qPrintable(part));
        at = found;
    }
}

void TestInfo::linkButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QSize>("size");
    QTest::newRow("CCC commands") << "SpeedButton1" << "Show CCC commands (browser will be open)"
                                  << "https://cluster.test/CCC_Commands.htm" << QSize(23, 25);
    QTest::newRow("weather map") << "SpeedButton4" << "Live Wheather Map (Link)"
                                 << "https://weather.test/maps/satellite/" << QSize(23, 22);
    QTest::newRow("day and night") << "SpeedButton5" << "Night and Day Map (Link)"
                                   << "https://clock.test/worldclock/sunearth.html"
                                   << QSize(23, 22);
}

// A click hands the page to the desktop and the window stays usable.
void TestInfo::linkButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, hint);
    QFETCH(QString, address);
    QFETCH(QSize, size);
    TestContext ctx;
    AppContext app = ctx.make();
    app.hosts.clusterCommands = "https://cluster.test/CCC_Commands.htm";
    app.hosts.weatherMap = "https://weather.test/maps/satellite/";
    app.hosts.dayNightMap = "https://clock.test/worldclock/sunearth.html";
    Tform1 w(app);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* b = w.findChild<QToolButton*>(button);
    QVERIFY(b);
    QCOMPARE(b->toolTip(), hint);
    QCOMPARE(b->size(), size);
    QCOMPARE(b->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(ctx.openedUrls, (QList<QUrl>{QUrl(address)}));
    QVERIFY(ctx.messages.isEmpty());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(w.BitBtn2->isEnabled());
}

// An address in settings.ini that is no link is not handed on, and nothing
// is said.
void TestInfo::addressThatIsNoLink()
{
    TestContext ctx;
    AppContext app = ctx.make();
    app.hosts.weatherMap = "weather map";
    Tform1 w(app);
    QTest::mouseClick(w.SpeedButton4, Qt::LeftButton);
    QVERIFY(ctx.openedUrls.isEmpty());
    QVERIFY(ctx.messages.isEmpty());
}

void TestInfo::infoWindow()
{
    TestContext ctx;
    Tform1 w(ctx.make());
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Tinfo* info = w.info;
    QVERIFY(info && !info->isVisible());

    QTest::mouseClick(w.SpeedButton7, Qt::LeftButton);
    QVERIFY(info->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), info); // the main window takes no input
    QCOMPARE(info->windowTitle(), "Info and Credits");
    QCOMPARE(info->size(), QSize(805, 763));
    QVERIFY(info->Memo1->isReadOnly());
    const QString text = info->Memo1->toPlainText();
    QVERIFY(text.startsWith(QStringLiteral("Marvix Terminal   version %1\n").arg(MARVIX_VERSION)));
    QVERIFY(text.contains(QDir::toNativeSeparators(QDir(ctx.dir()).filePath("nodes.txt"))));
    QVERIFY(text.contains("No blank rows."));

    QCOMPARE(info->BitBtn2->text(), QString(20, QLatin1Char(' ')) + "Questions");
    QTest::mouseClick(info->BitBtn2, Qt::LeftButton);
    QTest::mouseClick(info->BitBtn4, Qt::LeftButton);
    const Hosts defaults;
    QCOMPARE(ctx.openedUrls, (QList<QUrl>{QUrl(defaults.supportMail), QUrl(defaults.channel)}));
    // No stranger's page until the program has a channel of its own.
    QVERIFY(QUrl(defaults.channel).host().endsWith(".example"));
    QVERIFY(info->isVisible());

    QCOMPARE(info->BitBtn3->text(), "Back to Terminal");
    QTest::mouseClick(info->BitBtn3, Qt::LeftButton);
    QVERIFY(!info->isVisible());
    QVERIFY(!QApplication::activeModalWidget());

    // The close box returns to the terminal as well; the window opens again.
    QTest::mouseClick(w.SpeedButton7, Qt::LeftButton);
    QVERIFY(info->isVisible());
    info->close();
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
