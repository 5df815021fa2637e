#include "LocalHttpServer.h"
#include "TestContext.h"
#include "TlsTestServer.h"

#include "app/Tform1.h"
#include "session/TerminalPane.h"

#include <QtTest>

// Start-up of the main window against real local servers.
class TestApp : public QObject
{
    Q_OBJECT
private slots:
    void probeWithoutAnswerEndsTheProgram();
    void anyHttpAnswerCountsAsInternet_data();
    void anyHttpAnswerCountsAsInternet();
    void dxpeditionListLoadedAtStart();
};

void TestApp::probeWithoutAnswerEndsTheProgram()
{
    TestContext ctx;
    AppContext app = ctx.make();
    app.internetCheck = CheckInternetConnection; // the real probe, against a port where nothing listens
    Tform1 w(app);
    QCOMPARE(
        ctx.messages,
        (QStringList{"Internet connection not available, check also firewall rules, note that this "
                     "app must be free to trasmit and receive data",
                     "Now application will close"}));
    QCOMPARE(ctx.quitRequests, 1);
    // The failed list download before it said nothing, and the start sequence still ended.
    QVERIFY(w.dxpeditions().FinalstringListDolv.isEmpty());
    QCOMPARE(w.Re3->lineCount(), 2);
}

void TestApp::anyHttpAnswerCountsAsInternet_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("200") << LocalHttpServer::response(200, "OK", {"Content-Type: text/html"},
                                                      "<html></html>");
    QTest::newRow("301") << LocalHttpServer::response(301, "Moved Permanently",
                                                      {"Location: http://elsewhere/"}, "");
    QTest::newRow("404") << LocalHttpServer::response(404, "Not Found", {}, "gone");
    QTest::newRow("503") << LocalHttpServer::response(503, "Service Unavailable", {}, "busy");
}

void TestApp::anyHttpAnswerCountsAsInternet()
{
    QFETCH(QByteArray, reply);
    LocalHttpServer probe;
    QVERIFY(probe.start());
    probe.setReply(reply);
    TestContext ctx;
    AppContext app = ctx.make();
    app.internetCheck = CheckInternetConnection; // the real probe
    app.hosts.probe = probe.url();
    Tform1 w(app);
    QVERIFY(ctx.messages.isEmpty());
    QCOMPARE(ctx.quitRequests, 0);
    QCOMPARE(probe.requests().size(), 1);
    QVERIFY(probe.lastRequest().startsWith("GET / HTTP/1.1\r\nHost: 127.0.0.1:"));
}

void TestApp::dxpeditionListLoadedAtStart()
{
    TlsTestServer host;
    host.addFile("listadxdolv.txt", "3Y0K\r\nvp8/g4abc\r\nTX5S \r\n");
    QVERIFY2(host.start(), qPrintable(host.errorString()));
    TestContext ctx;
    AppContext app = ctx.make();
    app.hosts.dxpeditionList = host.url("/listadxdolv.txt");
    Tform1 w(app);
    QCOMPARE(w.dxpeditions().StringListDolv, (QStringList{"3Y0K", "vp8/g4abc", "TX5S "}));
    QCOMPARE(w.dxpeditions().FinalstringListDolv, w.dxpeditions().StringListDolv);
    QVERIFY(w.dxpeditions().StringListShort.isEmpty());
    QVERIFY(ctx.messages.isEmpty());
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
