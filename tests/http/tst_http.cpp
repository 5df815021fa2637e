#include "livecheck/DxpeditionList.h"
#include "net/CurlFailure.h"
#include "net/EIdHTTPProtocolException.h"
#include "net/EIdSocketError.h"
#include "net/HttpBodyDecoding.h"
#include "net/HttpRequest.h"
#include "net/InternetCheck.h"
#include "net/TIdHTTP.h"
#include "net/TIdSSLIOHandlerSocketOpenSSL.h"
#include "support/LocalHttpServer.h"
#include "support/TlsTestServer.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <curl/curl.h>

Q_DECLARE_METATYPE(TIdSSLVersion)

namespace {

const QByteArray kAccept = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
const QByteArray kUserAgent = "Mozilla/3.0 (compatible; Indy Library)";

// A port nobody listens on: bound once, then let go.
quint16 closedPort()
{
    LocalHttpServer s;
    s.start();
    const quint16 port = s.port();
    s.stop();
    return port;
}

// Runs f and returns the message of the EIdException it raises; fails the
// test when nothing is raised.
template <typename F> QString raisedMessage(F f)
{
    try {
        f();
    } catch (const EIdException& e) {
        return e.message();
    }
    return QStringLiteral("<nothing raised>");
}

} // namespace

class TestHttp : public QObject
{
    Q_OBJECT
private slots:
    // Requests taken apart and written without a server.
    void requestFromUrl_data();
    void requestFromUrl();
    void unknownProtocol();
    void bodyDecoding_data();
    void bodyDecoding();
    void sslOptions_data();
    void sslOptions();
    void curlFailures_data();
    void curlFailures();

    // Against a local HTTP server.
    void exactRequestBytes();
    void notFound();
    void errorPageCutShort();
    void redirectNotFollowed();
    void bodies_data();
    void bodies();
    void streamKeepsItsPosition();
    void serverNeverAnswers();
    void serverClosesWithoutAnswer();
    void refusedPort();
    void httpsWithoutTlsLayer();

    // Against openssl s_server.
    void tls12ListArrives();
    void handshakeRefused_data();
    void handshakeRefused();
    void serverNameSent_data();
    void serverNameSent();

    // The list file and the calendar grid.
    void listFileLines_data();
    void listFileLines();
    void listFailureIsSilent();
    void gridCallsigns();
    void gridAppendedAtEveryClose();

    // The demo's own web host.
    void demoWebHost();
};

void TestHttp::requestFromUrl_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QByteArray>("requestLine");
    QTest::addColumn<QByteArray>("hostHeader");

    QTest::newRow("site root without slash")
        << "http://www.example.com" << QByteArray("GET / HTTP/1.1")
        << QByteArray("www.example.com");
    QTest::newRow("query kept as given")
        << "http://127.0.0.1:8080/calendar.php?width=21&lang=en"
        << QByteArray("GET /calendar.php?width=21&lang=en HTTP/1.1")
        << QByteArray("127.0.0.1:8080");
    QTest::newRow("escapes and dot segments untouched")
        << "https://list.example/a/../b/%41%20x?q=%2F"
        << QByteArray("GET /a/../b/%41%20x?q=%2F HTTP/1.1") << QByteArray("list.example");
    QTest::newRow("fragment stays home")
        << "http://h.example/page?x=1#top" << QByteArray("GET /page?x=1 HTTP/1.1")
        << QByteArray("h.example");
    QTest::newRow("https on 8443 names the port")
        << "https://list.example:8443/listadxdolv.txt"
        << QByteArray("GET /listadxdolv.txt HTTP/1.1") << QByteArray("list.example:8443");
    QTest::newRow("http on 443 names the port")
        << "http://h.example:443/" << QByteArray("GET / HTTP/1.1") << QByteArray("h.example:443");
    QTest::newRow("default port written out is left out")
        << "HTTPS://h.example:443/x" << QByteArray("GET /x HTTP/1.1") << QByteArray("h.example");
    QTest::newRow("query on the root")
        << "http://h.example?a=b" << QByteArray("GET /?a=b HTTP/1.1") << QByteArray("h.example");
    QTest::newRow("other scheme with a port")
        << "gopher://h.example:70/x" << QByteArray("GET /x HTTP/1.1") << QByteArray("h.example:70");
}

void TestHttp::requestFromUrl()
{
    QFETCH(QString, url);
    QFETCH(QByteArray, requestLine);
    QFETCH(QByteArray, hostHeader);
    const HttpRequest r = HttpRequest::fromUrl(url);
    QCOMPARE(r.bytes(), requestLine + "\r\nHost: " + hostHeader + "\r\nAccept: " + kAccept +
                            "\r\nUser-Agent: " + kUserAgent + "\r\n\r\n");
}

void TestHttp::unknownProtocol()
{
    QCOMPARE(raisedMessage([] { HttpRequest::fromUrl(QStringLiteral("ftp://h.example/x")); }),
             QStringLiteral("Unknown Protocol"));
    TIdHTTP http;
    QCOMPARE(raisedMessage([&] { http.Get(QStringLiteral("www.example.com")); }),
             QStringLiteral("Unknown Protocol"));
}

void TestHttp::bodyDecoding_data()
{
    QTest::addColumn<QString>("contentType");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("expected");

    const QString e9 = QStringLiteral("caf\u00e9");
    QTest::newRow("text/plain without charset is Latin-1")
        << "text/plain" << QByteArray("caf\xe9") << e9;
    QTest::newRow("json without charset byte for byte")
        << "application/json" << QByteArray("caf\xe9") << e9;
    QTest::newRow("no content type at all") << "" << QByteArray("caf\xe9") << e9;
    QTest::newRow("charset parameter, quoted")
        << "text/plain; Charset=\"UTF-8\"" << QByteArray("caf\xc3\xa9") << e9;
    QTest::newRow("unknown charset byte for byte")
        << "text/plain; charset=x-martian" << QByteArray("caf\xe9") << e9;
    QTest::newRow("windows-1252 euro")
        << "text/plain; charset=windows-1252" << QByteArray("\x80") << QStringLiteral("\u20ac");
    QTest::newRow("text/xml without charset is us-ascii")
        << "text/xml" << QByteArray("caf\xe9") << QStringLiteral("caf?");
    QTest::newRow("+xml subtype is us-ascii")
        << "text/rss+xml" << QByteArray("caf\xe9") << QStringLiteral("caf?");
    QTest::newRow("xml declaration names the charset")
        << "application/xml"
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>caf\xc3\xa9</a>")
        << QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>caf\u00e9</a>");
    QTest::newRow("html meta names the charset")
        << "text/html" << QByteArray("<meta charset=\"utf-8\">caf\xc3\xa9")
        << QStringLiteral("<meta charset=\"utf-8\">caf\u00e9");
    QTest::newRow("header charset beats meta")
        << "text/html; charset=iso-8859-1" << QByteArray("<meta charset=\"utf-8\">\xc3\xa9")
        << QStringLiteral("<meta charset=\"utf-8\">\u00c3\u00a9");
}

void TestHttp::bodyDecoding()
{
    QFETCH(QString, contentType);
    QFETCH(QByteArray, body);
    QFETCH(QString, expected);
    QCOMPARE(HttpBodyDecoding::decodeBody(body, contentType), expected);
}

void TestHttp::sslOptions_data()
{
    using V = TIdSSLVersion;
    QTest::addColumn<bool>("setMethod");
    QTest::addColumn<QList<int>>("given");
    QTest::addColumn<int>("method");
    QTest::addColumn<QList<int>>("versions");
    QTest::addColumn<int>("tlsLow"); // -1: no TLS version at all
    QTest::addColumn<int>("tlsHigh");

    auto i = [](V v) { return int(v); };
    const QList<int> everyOther{i(V::sslvSSLv2), i(V::sslvSSLv3), i(V::sslvTLSv1),
                                i(V::sslvTLSv1_1), i(V::sslvTLSv1_2)};
    QTest::newRow("method TLS 1.2 alone")
        << true << QList<int>{i(V::sslvTLSv1_2)} << i(V::sslvTLSv1_2)
        << QList<int>{i(V::sslvTLSv1_2)} << i(V::sslvTLSv1_2) << i(V::sslvTLSv1_2);
    QTest::newRow("method any is every other")
        << true << QList<int>{i(V::sslvSSLv23)} << i(V::sslvSSLv23) << everyOther << i(V::sslvTLSv1)
        << i(V::sslvTLSv1_2);
    QTest::newRow("one version is the method")
        << false << QList<int>{i(V::sslvTLSv1_1)} << i(V::sslvTLSv1_1)
        << QList<int>{i(V::sslvTLSv1_1)} << i(V::sslvTLSv1_1) << i(V::sslvTLSv1_1);
    QTest::newRow("several versions are any")
        << false << QList<int>{i(V::sslvTLSv1_1), i(V::sslvTLSv1_2)} << i(V::sslvSSLv23)
        << QList<int>{i(V::sslvTLSv1_1), i(V::sslvTLSv1_2)} << i(V::sslvTLSv1_1)
        << i(V::sslvTLSv1_2);
    QTest::newRow("SSL 3 alone leaves no TLS")
        << true << QList<int>{i(V::sslvSSLv3)} << i(V::sslvSSLv3) << QList<int>{i(V::sslvSSLv3)}
        << -1 << -1;
}

void TestHttp::sslOptions()
{
    QFETCH(bool, setMethod);
    QFETCH(QList<int>, given);
    QFETCH(int, method);
    QFETCH(QList<int>, versions);
    QFETCH(int, tlsLow);
    QFETCH(int, tlsHigh);

    TIdSSLOptions o;
    QCOMPARE(int(o.Method()), int(TIdSSLVersion::sslvTLSv1)); // the defaults
    QCOMPARE(o.SSLVersions(), TIdSSLVersions{TIdSSLVersion::sslvTLSv1});
    if (setMethod) {
        o.setMethod(TIdSSLVersion(given.first()));
    } else {
        TIdSSLVersions set;
        for (int v : given)
            set.insert(TIdSSLVersion(v));
        o.setSSLVersions(set);
    }
    QCOMPARE(int(o.Method()), method);
    QList<int> got;
    for (TIdSSLVersion v : o.SSLVersions())
        got.append(int(v));
    QCOMPARE(got, versions);
    const auto range = o.tlsRange();
    QCOMPARE(range ? int(range->first) : -1, tlsLow);
    QCOMPARE(range ? int(range->second) : -1, tlsHigh);
}

void TestHttp::curlFailures_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("osErrno");
    QTest::addColumn<QString>("libraryText");
    QTest::addColumn<QString>("message");

    QTest::newRow("name not resolved")
        << int(CURLE_COULDNT_RESOLVE_HOST) << 0 << "Could not resolve host: nowhere.example"
        << "Socket Error # 11001\r\nHost not found.";
    QTest::newRow("refused") << int(CURLE_COULDNT_CONNECT) << int(ECONNREFUSED) << ""
                             << "Socket Error # 10061\r\nConnection refused.";
    QTest::newRow("no route") << int(CURLE_COULDNT_CONNECT) << int(EHOSTUNREACH) << ""
                              << "Socket Error # 10065\r\nNo route to host.";
    QTest::newRow("timed out") << int(CURLE_OPERATION_TIMEDOUT) << 0 << "Operation timed out"
                               << "Socket Error # 10060\r\nConnection timed out.";
    QTest::newRow("reset while reading") << int(CURLE_RECV_ERROR) << int(ECONNRESET) << ""
                                         << "Socket Error # 10054\r\nConnection reset by peer.";
    QTest::newRow("handshake refused")
        << int(CURLE_SSL_CONNECT_ERROR) << 0
        << "OpenSSL/3.0.11: error:0A00042E:SSL routines::tlsv1 alert protocol version"
        << "Error connecting with SSL.\r\nerror:0A00042E:SSL routines::tlsv1 alert protocol "
           "version";
}

void TestHttp::curlFailures()
{
    QFETCH(int, code);
    QFETCH(int, osErrno);
    QFETCH(QString, libraryText);
    QFETCH(QString, message);
    QCOMPARE(CurlFailure::describe(code, osErrno, libraryText).message, message);
}

void TestHttp::exactRequestBytes()
{
    LocalHttpServer server;
    QVERIFY(server.start());
    TIdHTTP http;
    QCOMPARE(http.Get(server.url("/calendar.php?width=21&lang=en&q=%41%20/../x")),
             QStringLiteral("OK"));
    QCOMPARE(server.lastRequest(), "GET /calendar.php?width=21&lang=en&q=%41%20/../x HTTP/1.1\r\n"
                                   "Host: 127.0.0.1:" +
                                       QByteArray::number(server.port()) + "\r\nAccept: " +
                                       kAccept + "\r\nUser-Agent: " + kUserAgent + "\r\n\r\n");
    QCOMPARE(http.ResponseText(), QStringLiteral("HTTP/1.1 200 OK"));
}

void TestHttp::notFound()
{
    LocalHttpServer server;
    QVERIFY(server.start());
    server.setReply(LocalHttpServer::response(404, "Not Found", {"Content-Type: text/html"},
                                              "<h1>No such file: caf\xe9</h1>"));
    TIdHTTP http;
    try {
        http.Get(server.url("/listadxdolv.txt"));
        QFAIL("a 404 must raise");
    } catch (const EIdHTTPProtocolException& e) {
        QCOMPARE(e.message(), QStringLiteral("HTTP/1.1 404 Not Found"));
        QCOMPARE(e.ErrorCode(), 404);
        QCOMPARE(e.ErrorMessage(), QStringLiteral("<h1>No such file: caf\u00e9</h1>"));
    }
}

// A proxy or an overloaded site may break off its own error page.
void TestHttp::errorPageCutShort()
{
    LocalHttpServer server;
    QVERIFY(server.start());
    server.setReply("HTTP/1.1 503 Service Unavailable\r\nContent-Length: 30\r\n\r\nbus");
    TIdHTTP http;
    try {
        http.Get(server.url());
        QFAIL("a 503 must raise");
    } catch (const EIdHTTPProtocolException& e) {
        QCOMPARE(e.message(), QStringLiteral("HTTP/1.1 503 Service Unavailable"));
        QCOMPARE(e.ErrorCode(), 503);
        QCOMPARE(e.ErrorMessage(), QStringLiteral("bus"));
    }
    QVERIFY(CheckInternetConnection(server.url()));
}

void TestHttp::redirectNotFollowed()
{
    LocalHttpServer server;
    QVERIFY(server.start());
    server.setReply(LocalHttpServer::response(
        301, "Moved Permanently", {"Location: " + server.url("/elsewhere").toLatin1()}, "moved"));

    TIdHTTP http;
    QCOMPARE(raisedMessage([&] { http.Get(server.url()); }),
             QStringLiteral("HTTP/1.1 301 Moved Permanently"));
    QCOMPARE(server.requests().size(), 1); // the Location was not asked for

    QVERIFY(CheckInternetConnection(server.url()));
}

void TestHttp::bodies_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("text");

    QTest::newRow("chunked") << LocalHttpServer::chunkedResponse(
                                    200, "OK", {"Content-Type: text/plain; charset=utf-8"},
                                    {"3Y0K\r\n", "TX5S", "\r\nE51D \xc3\xa9"})
                             << QStringLiteral("3Y0K\r\nTX5S\r\nE51D \u00e9");
    QTest::newRow("content-length stops the body")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n9N7AAtrailing")
        << QStringLiteral("9N7A");
    QTest::newRow("read up to the close")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nVP8/G4ABC\r\n")
        << QStringLiteral("VP8/G4ABC\r\n");
    QTest::newRow("100 Continue skipped") << QByteArray("HTTP/1.1 100 Continue\r\n\r\n") +
                                                 LocalHttpServer::response(200, "OK", {}, "fine")
                                          << QStringLiteral("fine");
    QTest::newRow("text/plain E9 is e acute")
        << LocalHttpServer::response(200, "OK", {"Content-Type: text/plain"}, "\xe9")
        << QStringLiteral("\u00e9");
    QTest::newRow("json E9 byte for byte")
        << LocalHttpServer::response(200, "OK", {"Content-Type: application/json"},
                                     "{\"a\":\"\xe9\"}")
        << QStringLiteral("{\"a\":\"\u00e9\"}");
    QTest::newRow("gzip not undone")
        << LocalHttpServer::response(200, "OK", {"Content-Encoding: gzip"}, "\x1f\x8b\x08")
        << QStringLiteral("\u001f\u008b\u0008");
}

void TestHttp::bodies()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, text);
    LocalHttpServer server;
    QVERIFY(server.start());
    server.setReply(reply);
    TIdHTTP http;
    QCOMPARE(http.Get(server.url()), text);
}

void TestHttp::streamKeepsItsPosition()
{
    LocalHttpServer server;
    QVERIFY(server.start());
    server.setReply(LocalHttpServer::response(200, "OK", {}, "3Y0K"));
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    buffer.write("old:");
    TIdHTTP http;
    http.Get(server.url(), buffer);
    QCOMPARE(buffer.data(), QByteArray("old:3Y0K"));
}

void TestHttp::serverNeverAnswers()
{
    LocalHttpServer server;
    QVERIFY(server.start());
    server.setBehaviour(LocalHttpServer::Behaviour::NeverAnswer);
    TIdHTTP http;
    http.setRequestTimeoutMs(300);
    QElapsedTimer clock;
    clock.start();
    try {
        http.Get(server.url());
        QFAIL("a silent server must not give an answer");
    } catch (const EIdSocketError& e) {
        QCOMPARE(e.LastError(), 10060);
        QCOMPARE(e.message(), QStringLiteral("Socket Error # 10060\r\nConnection timed out."));
    }
    QVERIFY2(clock.elapsed() < 5000, "the request limit was not kept");
    QVERIFY(!CheckInternetConnection(QStringLiteral("https://127.0.0.1:1/"))); // no TLS layer
}

void TestHttp::serverClosesWithoutAnswer()
{
    LocalHttpServer server;
    QVERIFY(server.start());
    server.setBehaviour(LocalHttpServer::Behaviour::CloseAtOnce);
    TIdHTTP http;
    QCOMPARE(raisedMessage([&] { http.Get(server.url()); }),
             QStringLiteral("Connection Closed Gracefully."));
    QVERIFY(!CheckInternetConnection(server.url()));
}

void TestHttp::refusedPort()
{
    const QString url = QStringLiteral("http://127.0.0.1:%1/").arg(closedPort());
    QVERIFY(!CheckInternetConnection(url));
    TIdHTTP http;
    QCOMPARE(raisedMessage([&] { http.Get(url); }),
             QStringLiteral("Socket Error # 10061\r\nConnection refused."));
}

void TestHttp::httpsWithoutTlsLayer()
{
    TIdHTTP http;
    QCOMPARE(raisedMessage([&] { http.Get(QStringLiteral("https://127.0.0.1:1/x")); }),
             QStringLiteral("IOHandler value is not valid"));
}

void TestHttp::tls12ListArrives()
{
    TlsTestServer server({"-tls1_2"});
    server.addFile("listadxdolv.txt", "3Y0K\r\nvp8/g4abc\r\nTX5S \r\n\r\nE51D");
    QVERIFY2(server.start(), qPrintable(server.errorString()));

    DxpeditionList list;
    list.ricevilistadolv(server.url("/listadxdolv.txt"));
    const QStringList expected{"3Y0K", "vp8/g4abc", "TX5S ", "", "E51D"};
    QCOMPARE(list.StringListDolv, expected);
    QCOMPARE(list.FinalstringListDolv, expected);
    QVERIFY(list.StringListShort.isEmpty());
}

void TestHttp::handshakeRefused_data()
{
    QTest::addColumn<QStringList>("serverArgs");
    QTest::addColumn<QStringList>("probeArgs"); // empty: no need to check the local OpenSSL

    const QStringList legacy{"-cipher", "DEFAULT@SECLEVEL=0"};
    QTest::newRow("TLS 1.3 only") << QStringList{"-tls1_3"} << QStringList{};
    QTest::newRow("TLS 1.1 only") << QStringList{"-tls1_1"} + legacy
                                  << QStringList{"-tls1_1"} + legacy;
    QTest::newRow("TLS 1.0 only") << QStringList{"-tls1"} + legacy << QStringList{"-tls1"} + legacy;
}

void TestHttp::handshakeRefused()
{
    QFETCH(QStringList, serverArgs);
    QFETCH(QStringList, probeArgs);
    TlsTestServer server(serverArgs);
    server.addFile("listadxdolv.txt", "3Y0K\r\n");
    QVERIFY2(server.start(), qPrintable(server.errorString()));
    if (!probeArgs.isEmpty() && !server.clientCanHandshake(probeArgs))
        QSKIP(
            "the local OpenSSL no longer offers this protocol version, so no server can speak it");

    QStringList list{"stale"};
    const QString message = raisedMessage(
        [&] { DxpeditionList::DownloadAndReadFileDolv(server.url("/listadxdolv.txt"), list); });
    QVERIFY2(message.startsWith(QLatin1String("Error connecting with SSL.\r\n")),
             qPrintable(message));
    QVERIFY2(message.size() > int(qstrlen("Error connecting with SSL.\r\n")),
             "the TLS library's reason is missing");
    QCOMPARE(list, QStringList{"stale"});
}

void TestHttp::serverNameSent_data()
{
    QTest::addColumn<QString>("serverName");
    QTest::addColumn<bool>("accepted");
    // The server drops a client that names another host; a client that
    // named none would pass both rows.
    QTest::newRow("name matches") << "localhost" << true;
    QTest::newRow("name differs") << "other.test" << false;
}

void TestHttp::serverNameSent()
{
    QFETCH(QString, serverName);
    QFETCH(bool, accepted);
    TlsTestServer server({"-tls1_2", "-cert2", "cert.pem", "-key2", "key.pem", "-servername",
                          serverName, "-servername_fatal"});
    server.addFile("listadxdolv.txt", "3Y0K\r\n");
    QVERIFY2(server.start(), qPrintable(server.errorString()));

    QStringList list;
    const QString url = QStringLiteral("https://localhost:%1/listadxdolv.txt").arg(server.port());
    const QString message =
        raisedMessage([&] { DxpeditionList::DownloadAndReadFileDolv(url, list); });
    if (accepted) {
        QCOMPARE(message, QStringLiteral("<nothing raised>"));
        QCOMPARE(list, QStringList{"3Y0K"});
    } else {
        QVERIFY2(message.startsWith(QLatin1String("Error connecting with SSL.\r\n")),
                 qPrintable(message));
    }
}

void TestHttp::listFileLines_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("entries");

    const QStringList two{"3Y0K", "TX5S"};
    QTest::newRow("two CR LF lines") << QByteArray("3Y0K\r\nTX5S\r\n") << two;
    QTest::newRow("no final break") << QByteArray("3Y0K\r\nTX5S") << two;
    QTest::newRow("LF only") << QByteArray("3Y0K\nTX5S\n") << two;
    QTest::newRow("mixed line ends") << QByteArray("3Y0K\r\nTX5S\nE51D\r9N7AA\r\n")
                                     << QStringList{"3Y0K", "TX5S", "E51D", "9N7AA"};
    QTest::newRow("CR then CR LF is one empty line")
        << QByteArray("3Y0K\r\r\nTX5S") << QStringList{"3Y0K", "", "TX5S"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("only a break") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("entries whole and untrimmed") << QByteArray(" e51d \r\n\r\nVP8/G4ABC\tx\r\n")
                                                 << QStringList{" e51d ", "", "VP8/G4ABC\tx"};
    QTest::newRow("UTF-8 BOM") << QByteArray("\xef\xbb\xbf"
                                             "3Y0K\r\nS\xc3\xa9\r\n")
                               << QStringList{"3Y0K", "S\u00e9"};
    QTest::newRow("UTF-16 LE BOM") << QByteArray("\xff\xfe"
                                                 "3\0Y\0\r\0\n\0K\0",
                                                 12)
                                   << QStringList{"3Y", "K"};
    QTest::newRow("UTF-16 BE BOM") << QByteArray("\xfe\xff\0T\0\n\0X", 8) << QStringList{"T", "X"};
    QTest::newRow("no BOM, not UTF-8: Windows-1252")
        << QByteArray("S\xe9\r\n\x80") << QStringList{"S\u00e9", "\u20ac"};
}

void TestHttp::listFileLines()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, entries);
    QCOMPARE(DxpeditionList::linesOfListFile(file), entries);
}

void TestHttp::listFailureIsSilent()
{
    // A refused port, a 404 and an answer that never comes all leave both
    // lists empty without a word.
    LocalHttpServer silent;
    QVERIFY(silent.start());
    silent.setBehaviour(LocalHttpServer::Behaviour::NeverAnswer);

    DxpeditionList list;
    list.setTimeouts(1000, 300);
    for (const QString& url :
         {QStringLiteral("https://127.0.0.1:%1/listadxdolv.txt").arg(closedPort()),
          silent.url("/listadxdolv.txt")}) {
        list.StringListShort = QStringList{"leftover"};
        list.ricevilistadolv(url);
        QVERIFY2(list.StringListDolv.isEmpty(), qPrintable(url));
        QVERIFY(list.FinalstringListDolv.isEmpty());
        QVERIFY(list.StringListShort.isEmpty());
    }
}

void TestHttp::gridCallsigns()
{
    DxpeditionList list;
    list.FinalstringListDolv = QStringList{"3Y0K"};
    list.leggoshorteaggiungoadolv({"  TX5S  ", "", "   ", "\t9N7AA\r\n", ""});
    QCOMPARE(list.StringListShort, (QStringList{"TX5S", "9N7AA"}));
    QCOMPARE(list.FinalstringListDolv, (QStringList{"3Y0K", "TX5S", "9N7AA"}));
}

void TestHttp::gridAppendedAtEveryClose()
{
    // The calendar window clears StringListShort each time it is opened
    // and reads its grid each time it is closed.
    DxpeditionList list;
    for (int i = 0; i < 3; ++i) {
        list.StringListShort.clear();
        list.leggoshorteaggiungoadolv({"E51D", "", "", "", ""});
    }
    list.StringListShort.clear();
    list.leggoshorteaggiungoadolv({"", "", "", "", ""});
    QCOMPARE(list.FinalstringListDolv, (QStringList{"E51D", "E51D", "E51D"}));
}

void TestHttp::demoWebHost()
{
    QTemporaryDir dir;
    const QString hostsFile = dir.filePath("hosts.ini");
    QProcess host;
    host.start(QStringLiteral(MARVIX_WEBHOST), {"--hosts-file", hostsFile});
    QVERIFY2(host.waitForStarted(5000), qPrintable(host.errorString()));
    QByteArray out;
    while (!out.contains("ready\n") && host.waitForReadyRead(10000))
        out += host.readAllStandardOutput();
    QVERIFY2(out.contains("ready\n"), host.readAllStandardError().constData());

    const QSettings hosts(hostsFile, QSettings::IniFormat);
    const QString probe = hosts.value("Hosts/Probe").toString();
    const QString listUrl = hosts.value("Hosts/DxpeditionList").toString();
    QVERIFY(probe.startsWith("http://127.0.0.1:"));
    QVERIFY(listUrl.startsWith("https://127.0.0.1:"));
    QVERIFY(out.contains(("Probe=" + probe).toLatin1()));

    QVERIFY(CheckInternetConnection(probe));
    DxpeditionList list;
    list.ricevilistadolv(listUrl);
    // Calls the node simulator spots.
    for (const char* call : {"3Y0K", "VP8/G4ABC", "TX5S", "9N7AA", "E51D"})
        QVERIFY2(list.FinalstringListDolv.contains(QString::fromLatin1(call)), call);

    host.terminate();
    QVERIFY(host.waitForFinished(5000));
}

QTEST_GUILESS_MAIN(TestHttp)
#include "tst_http.moc"
