#include "net/HostAddress.h"
#include "net/SocketErrors.h"
#include "net/TIdTelnet.h"
#include "net/TelnetCodec.h"
#include "support/FakeClusterNode.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// What the codec made of a series of reads, in a form a row can state:
// data as quoted text ("hello"), replies as hex (<fffd01>), reads separated
// by " / ".
QString render(TelnetCodec& codec, const QByteArrayList& reads)
{
    QStringList perRead;
    for (const QByteArray& read : reads) {
        QStringList events;
        for (const TelnetCodec::Event& e : codec.feed(read)) {
            if (e.kind == TelnetCodec::Event::Kind::Reply) {
                events << QLatin1Char('<') + QString::fromLatin1(e.bytes.toHex()) +
                              QLatin1Char('>');
                continue;
            }
            QString text;
            for (const char c : e.bytes) {
                const auto b = quint8(c);
                text += (b >= 32 && b < 127)
                            ? QString(QLatin1Char(c))
                            : QStringLiteral("\\x%1").arg(b, 2, 16, QLatin1Char('0'));
            }
            events << QLatin1Char('"') + text + QLatin1Char('"');
        }
        perRead << events.join(QLatin1Char(' '));
    }
    return perRead.join(QStringLiteral(" / "));
}

const QByteArray kDumbAnswer = QByteArray::fromHex("fffa18006475 6d62fff0");

// Waits for the outcome of Connect and returns it.
bool connectClient(TIdTelnet& client, const QString& host, quint16 port, QString* error = nullptr)
{
    QSignalSpy done(&client, &TIdTelnet::connectFinished);
    client.setHost(host);
    client.setPort(port);
    client.Connect();
    if (!done.wait(10000))
        return false;
    if (error)
        *error = done.at(0).at(1).toString();
    return done.at(0).at(0).toBool();
}

// A listener that keeps the accepted descriptor as it is, without a
// QTcpSocket reading from it.
class RawNode : public QTcpServer
{
public:
    ~RawNode() override
    {
        if (fd >= 0)
            ::close(fd);
    }
    int fd = -1;

protected:
    void incomingConnection(qintptr descriptor) override { fd = int(descriptor); }
};

} // namespace

class TestNet : public QObject
{
    Q_OBJECT
private slots:
    void socketErrorMessages_data();
    void socketErrorMessages();

    void codecFeed_data();
    void codecFeed();
    void straySubnegotiationIsBounded();
    void codecNegotiationReplies_data();
    void codecNegotiationReplies();
    void codecTerminalName();
    void encodeForSending_data();
    void encodeForSending();

    void negotiationOverLoopback_data();
    void negotiationOverLoopback();
    void commandSplitOverTwoReads();
    void lineEndFollowsFirstIac();
    void connectErrors_data();
    void connectErrors();
    void connectResolvesNames_data();
    void connectResolvesNames();
    void literalAddresses_data();
    void literalAddresses();
    void secondConnectWhileConnected();
    void disconnectCancelsConnect_data();
    void disconnectCancelsConnect();
    void peerCloseDeliversRemainingBytesFirst();
    void peerReset();
    void disconnectSendsPendingBytesThenEof();
    void nestedEventLoopInHandlerKeepsChunksInOrder();
    void deleteLaterFromOwnSignal();
};

void TestNet::socketErrorMessages_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("expected");
    QTest::newRow("refused") << 10061 << "Socket Error # 10061\r\nConnection refused.";
    QTest::newRow("host not found") << 11001 << "Socket Error # 11001\r\nHost not found.";
    QTest::newRow("no trailing point") << 10066 << "Socket Error # 10066\r\nDirectory not empty";
    QTest::newRow("outside the table") << 12345 << "Socket Error # 12345\r\n";
}

void TestNet::socketErrorMessages()
{
    QFETCH(int, number);
    QFETCH(QString, expected);
    QCOMPARE(SocketErrors::message(number), expected);
}

void TestNet::codecFeed_data()
{
    QTest::addColumn<QByteArrayList>("reads");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("sawIac");

    const QString answer =
        QLatin1Char('<') + QString::fromLatin1(kDumbAnswer.toHex()) + QLatin1Char('>');

    QTest::newRow("plain text") << QByteArrayList{"login: "} << R"("login: ")" << false;
    QTest::newRow("nothing") << QByteArrayList{""} << "" << false;
    QTest::newRow("IAC IAC is one 255 data byte") << QByteArrayList{"abc\xff\xff"
                                                                    "def"}
                                                  << R"("abc\xffdef")" << true;
    QTest::newRow("EOR splits chunks")
        << QByteArrayList{"hello\xff\xefworld"} << R"("hello" "world")" << true;
    QTest::newRow("EOR with nothing before gives no empty chunk")
        << QByteArrayList{"\xff\xefhi\xff\xef"} << R"("hi")" << true;
    QTest::newRow("NOP vanishes") << QByteArrayList{"ab\xff\xf1"
                                                    "cd"}
                                  << R"("abcd")" << true;
    QTest::newRow("GA vanishes") << QByteArrayList{"ab\xff\xf9"
                                                   "cd"}
                                 << R"("abcd")" << true;
    QTest::newRow("command below EOR vanishes") << QByteArrayList{"ab\xff\x05"
                                                                  "cd"}
                                                << R"("abcd")" << true;
    QTest::newRow("stray SE vanishes") << QByteArrayList{"a\xff\xf0"
                                                         "b"}
                                       << R"("ab")" << true;
    QTest::newRow("terminal type asked")
        << QByteArrayList{"\xff\xfd\x18\xff\xfa\x18\x01\xff\xf0"} << "<fffb18> " + answer << true;
    QTest::newRow("repeated request, repeated reply")
        << QByteArrayList{"\xff\xfb\x01\xff\xfb\x01"} << "<fffd01> <fffd01>" << true;
    // Same events in the same order as when the bytes come one read each.
    QTest::newRow("reply keeps its place between the data") << QByteArrayList{"ab\xff\xfb\x03"
                                                                              "cd"}
                                                            << R"("ab" <fffe03> "cd")" << true;
    QTest::newRow("data before a request, one read") << QByteArrayList{"a\xff\xfd\x01"}
                                                     << R"("a" <fffb01>)" << true;
    QTest::newRow("SB delivers the data before it")
        << QByteArrayList{"before\xff\xfa\x18\x01\xff\xf0"
                          "after"}
        << R"("before" )" + answer + R"( "after")" << true;
    QTest::newRow("terminal type IS is ignored")
        << QByteArrayList{QByteArray("\xff\xfa\x18\x00xterm\xff\xf0ok", 13)} << R"("ok")" << true;
    QTest::newRow("empty terminal-type block is ignored")
        << QByteArrayList{"\xff\xfa\x18\xff\xf0"} << "" << true;
    QTest::newRow("other option's block is ignored, IAC IAC inside")
        << QByteArrayList{"\xff\xfa\x1f\x01\xff\xff\xff\xf0x"} << R"("x")" << true;
    QTest::newRow("IAC and another byte inside a block are dropped")
        << QByteArrayList{"\xff\xfa\x18\xff\xf1\x01\xff\xf0"} << answer << true;
    QTest::newRow("IAC SB restarts the block, the old one still counts")
        << QByteArrayList{"\xff\xfa\x18\x01\xff\xfa\x18\x01\xff\xf0"} << answer + " " + answer
        << true;
    QTest::newRow("block bytes never reach the data") << QByteArrayList{"\xff\xfa\x20secret\xff\xf0"
                                                                        "shown"}
                                                      << R"("shown")" << true;

    // One socket read may end in the middle of a command.
    QTest::newRow("split after IAC") << QByteArrayList{"ab\xff", "\xfb\x01"
                                                                 "cd"}
                                     << R"("ab" / <fffd01> "cd")" << true;
    QTest::newRow("split before the option")
        << QByteArrayList{"\xff\xfd", "\x18"} << " / <fffb18>" << true;
    QTest::newRow("split IAC IAC") << QByteArrayList{"a\xff", "\xff"
                                                              "b"}
                                   << R"("a" / "\xffb")" << true;
    QTest::newRow("split EOR") << QByteArrayList{"one\xff", "\xeftwo"} << R"("one" / "two")"
                               << true;
    QTest::newRow("split inside a subnegotiation")
        << QByteArrayList{"x\xff\xfa\x18", "\x01\xff", "\xf0y"}
        << R"("x" /  / )" + answer + R"( "y")" << true;
}

void TestNet::codecFeed()
{
    QFETCH(QByteArrayList, reads);
    QFETCH(QString, expected);
    QFETCH(bool, sawIac);
    TelnetCodec codec;
    QCOMPARE(render(codec, reads), expected);
    QCOMPARE(codec.sawIac(), sawIac);
    codec.reset();
    QVERIFY(!codec.sawIac());
}

void TestNet::codecNegotiationReplies_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("option");
    QTest::addColumn<QByteArray>("reply");
    const int will = TelnetCodec::kWill, wont = TelnetCodec::kWont, doo = TelnetCodec::kDo,
              dont = TelnetCodec::kDont;
    QTest::newRow("DO ECHO") << doo << 1 << QByteArray::fromHex("fffb01");
    QTest::newRow("DO TERMINAL-TYPE") << doo << 24 << QByteArray::fromHex("fffb18");
    QTest::newRow("DO 31") << doo << 31 << QByteArray::fromHex("fffc1f");
    QTest::newRow("DO SGA") << doo << 3 << QByteArray::fromHex("fffc03");
    QTest::newRow("DO END-OF-RECORD") << doo << 25 << QByteArray::fromHex("fffc19");
    QTest::newRow("DONT ECHO") << dont << 1 << QByteArray::fromHex("fffc01");
    QTest::newRow("DONT TERMINAL-TYPE") << dont << 24 << QByteArray::fromHex("fffc18");
    QTest::newRow("WILL ECHO") << will << 1 << QByteArray::fromHex("fffd01");
    QTest::newRow("WILL END-OF-RECORD") << will << 25 << QByteArray::fromHex("fffd19");
    QTest::newRow("WILL SGA") << will << 3 << QByteArray::fromHex("fffe03");
    QTest::newRow("WILL BINARY") << will << 0 << QByteArray::fromHex("fffe00");
    QTest::newRow("WILL TERMINAL-TYPE") << will << 24 << QByteArray::fromHex("fffe18");
    QTest::newRow("WONT ECHO") << wont << 1 << QByteArray::fromHex("fffe01");
    QTest::newRow("WONT SGA") << wont << 3 << QByteArray::fromHex("fffe03");
}

void TestNet::codecNegotiationReplies()
{
    QFETCH(int, command);
    QFETCH(int, option);
    QFETCH(QByteArray, reply);
    TelnetCodec codec;
    QByteArray request;
    request.append(char(0xff)).append(char(command)).append(char(option));
    const auto events = codec.feed(request);
    QCOMPARE(events.size(), 1);
    QCOMPARE(events.at(0).kind, TelnetCodec::Event::Kind::Reply);
    QCOMPARE(events.at(0).bytes, reply);
}

void TestNet::codecTerminalName()
{
    TelnetCodec codec(QStringLiteral("ANSI"));
    const auto events = codec.feed("\xff\xfa\x18\x01\xff\xf0");
    QCOMPARE(events.size(), 1);
    QCOMPARE(events.at(0).bytes, QByteArray("\xff\xfa\x18\x00"
                                            "ANSI\xff\xf0",
                                            10));
}

void TestNet::encodeForSending_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("iamTelnet");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("CR LF before the first IAC")
        << "sh/dx 20\r" << false << QByteArray("sh/dx 20\r\n");
    QTest::newRow("bare CR once Telnet") << "sh/dx 20\r" << true << QByteArray("sh/dx 20\r");
    QTest::newRow("empty line") << "\r" << false << QByteArray("\r\n");
    QTest::newRow("LF is left alone") << "a\nb" << false << QByteArray("a\nb");
    QTest::newRow("accented letter") << "set/qth Città\r" << true << QByteArray("set/qth Citt?\r");
    QTest::newRow("y diaeresis is not 255") << QStringLiteral("\u00ff") << true << QByteArray("?");
    QTest::newRow("outside the BMP")
        << QStringLiteral("a\U0001F600b") << true << QByteArray("a??b");
    QTest::newRow("nothing") << "" << false << QByteArray();
}

void TestNet::encodeForSending()
{
    QFETCH(QString, text);
    QFETCH(bool, iamTelnet);
    QFETCH(QByteArray, bytes);
    QCOMPARE(TelnetCodec::encodeForSending(text, iamTelnet), bytes);
}

void TestNet::negotiationOverLoopback_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("terminal type") << QByteArray::fromHex("fffd18 fffa1801fff0")
                                   << QByteArray::fromHex("fffb18") + kDumbAnswer;
    QTest::newRow("WILL ECHO") << QByteArray::fromHex("fffb01") << QByteArray::fromHex("fffd01");
    QTest::newRow("WILL SGA") << QByteArray::fromHex("fffb03") << QByteArray::fromHex("fffe03");
    QTest::newRow("DO 31") << QByteArray::fromHex("fffd1f") << QByteArray::fromHex("fffc1f");
    QTest::newRow("DONT ECHO") << QByteArray::fromHex("fffe01") << QByteArray::fromHex("fffc01");
    QTest::newRow("WONT ECHO") << QByteArray::fromHex("fffc01") << QByteArray::fromHex("fffe01");
    QTest::newRow("repeated") << QByteArray::fromHex("fffb01fffb01")
                              << QByteArray::fromHex("fffd01fffd01");
}

void TestNet::negotiationOverLoopback()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    FakeClusterNode node;
    node.setGreeting(request + "login: ");
    TIdTelnet client;
    QByteArray data;
    connect(&client, &TIdTelnet::OnDataAvailable, this,
            [&](TIdTelnet*, const QByteArray& chunk) { data += chunk; });
    QVERIFY(connectClient(client, QStringLiteral("127.0.0.1"), node.port()));
    QVERIFY(QTest::qWaitFor([&] { return data == "login: "; }, 5000));
    QVERIFY(node.waitForReceived(reply));
    QCOMPARE(node.received(), reply);
    QVERIFY(client.IamTelnet());
}

void TestNet::commandSplitOverTwoReads()
{
    FakeClusterNode node;
    TIdTelnet client;
    QByteArrayList chunks;
    connect(&client, &TIdTelnet::OnDataAvailable, this,
            [&](TIdTelnet*, const QByteArray& chunk) { chunks << chunk; });
    QVERIFY(connectClient(client, QStringLiteral("127.0.0.1"), node.port()));
    QVERIFY(node.waitForClient());

    node.send("ab\xff");
    QVERIFY(QTest::qWaitFor([&] { return chunks.size() == 1; }, 5000));
    node.send("\xfd\x18"
              "cd");
    QVERIFY(node.waitForReceived(QByteArray::fromHex("fffb18")));
    QVERIFY(QTest::qWaitFor([&] { return chunks.size() == 2; }, 5000));
    QCOMPARE(chunks, (QByteArrayList{"ab", "cd"}));
}

void TestNet::lineEndFollowsFirstIac()
{
    FakeClusterNode node;
    node.setGreeting("login: ");
    TIdTelnet client;
    QByteArray data;
    connect(&client, &TIdTelnet::OnDataAvailable, this,
            [&](TIdTelnet*, const QByteArray& chunk) { data += chunk; });
    QVERIFY(connectClient(client, QStringLiteral("127.0.0.1"), node.port()));
    QVERIFY(QTest::qWaitFor([&] { return data == "login: "; }, 5000));
    QVERIFY(!client.IamTelnet());

    client.SendString(QStringLiteral("G1TLH\r"));
    QVERIFY(node.waitForReceived("G1TLH\r\n"));

    // Even a doubled IAC shows the node speaks Telnet.
    node.send("\xff\xff");
    QVERIFY(QTest::qWaitFor([&] { return data.endsWith('\xff'); }, 5000));
    QVERIFY(client.IamTelnet());
    node.clearReceived();
    client.SendString(QStringLiteral("set/qth Città\r"));
    client.SendString(QStringLiteral("sh/dx\r"));
    QVERIFY(node.waitForReceived("sh/dx\r"));
    QCOMPARE(node.received(), QByteArray("set/qth Citt?\rsh/dx\r"));

    // A new connection starts over with CR LF.
    client.Disconnect();
    QVERIFY(node.waitForClientGone());
    QVERIFY(connectClient(client, QStringLiteral("127.0.0.1"), node.port()));
    QVERIFY(!client.IamTelnet());
    QVERIFY(node.waitForClient());
    node.clearReceived();
    client.SendString(QStringLiteral("sh/dx\r"));
    QVERIFY(node.waitForReceived("sh/dx\r\n"));
    QCOMPARE(node.connections(), 2);
}

void TestNet::connectErrors_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty host") << "" << 23 << "A Host is required";
    QTest::newRow("port 0") << "127.0.0.1" << 0 << "A Port is required";
    QTest::newRow("refused") << "127.0.0.1" << int(FakeClusterNode::refusingPort())
                             << "Socket Error # 10061\r\nConnection refused.";
    QTest::newRow("name does not resolve")
        << "no-such-node.invalid" << 23 << "Socket Error # 11001\r\nHost not found.";
}

void TestNet::connectErrors()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, message);
    TIdTelnet client;
    QSignalSpy done(&client, &TIdTelnet::connectFinished);
    client.setHost(host);
    client.setPort(quint16(port));
    client.Connect();
    QCOMPARE(done.size(), 0); // never from inside Connect()
    QVERIFY(done.wait(10000));
    QCOMPARE(done.size(), 1);
    QCOMPARE(done.at(0).at(0).toBool(), false);
    QCOMPARE(done.at(0).at(1).toString(), message);
    QVERIFY(!client.Connected());
    client.SendString(QStringLiteral("sh/dx\r")); // must not fail
    client.Disconnect();
}

void TestNet::connectResolvesNames_data()
{
    QTest::addColumn<QString>("host");
    QTest::newRow("LOCALHOST in capitals") << "LOCALHOST";
    QTest::newRow("localhost") << "localHost";
    QTest::newRow("dotted address") << "127.0.0.1";
}

void TestNet::connectResolvesNames()
{
    QFETCH(QString, host);
    FakeClusterNode node;
    TIdTelnet client;
    QCOMPARE(client.Port(), quint16(23));
    QCOMPARE(client.Terminal(), QStringLiteral("dumb"));
    QString error;
    QVERIFY2(connectClient(client, host, node.port(), &error), qPrintable(error));
    QVERIFY(client.Connected());
    QVERIFY(node.waitForClient());
}

void TestNet::literalAddresses_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("expected"); // dotted, or "none" for the resolver
    QTest::newRow("dotted") << "192.168.1.20"
                            << "192.168.1.20";
    QTest::newRow("LOCALHOST any case") << "LocalHost"
                                        << "127.0.0.1";
    QTest::newRow("host name") << "gb7djk.dxcluster.net"
                               << "none";
    QTest::newRow("NUL inside") << QString::fromLatin1("127.0.0.1\0evil", 14) << "none";
    QTest::newRow("NUL at the end") << QString::fromLatin1("127.0.0.1\0", 10) << "none";
    QTest::newRow("blank before") << " 127.0.0.1"
                                  << "none";
    QTest::newRow("three parts") << "127.0.1"
                                 << "none";
    QTest::newRow("part above 255") << "127.0.0.256"
                                    << "none";
    QTest::newRow("non-ASCII digit") << QString::fromUtf8("127.0.0.\u0661") << "none";
    QTest::newRow("empty") << ""
                           << "none";
}

void TestNet::literalAddresses()
{
    QFETCH(QString, host);
    QFETCH(QString, expected);
    const std::optional<quint32> address = HostAddress::literalIPv4(host);
    QCOMPARE(address ? QHostAddress(*address).toString() : QStringLiteral("none"), expected);
}

void TestNet::secondConnectWhileConnected()
{
    FakeClusterNode node;
    TIdTelnet client;
    QVERIFY(connectClient(client, QStringLiteral("127.0.0.1"), node.port()));
    QString error;
    QVERIFY(!connectClient(client, QStringLiteral("127.0.0.1"), node.port(), &error));
    QCOMPARE(error, QStringLiteral("Already connected."));
    QVERIFY(client.Connected());
    client.SendString(QStringLiteral("still here\r"));
    QVERIFY(node.waitForReceived("still here\r\n"));
    QCOMPARE(node.connections(), 1);
}

void TestNet::disconnectCancelsConnect_data()
{
    QTest::addColumn<QString>("host");
    QTest::newRow("while resolving") << "no-such-node.invalid";
    QTest::newRow("while connecting") << "127.0.0.1";
}

void TestNet::disconnectCancelsConnect()
{
    QFETCH(QString, host);
    FakeClusterNode node;
    node.setGreeting("login: ");
    TIdTelnet client;
    QSignalSpy done(&client, &TIdTelnet::connectFinished);
    QSignalSpy chunks(&client, &TIdTelnet::OnDataAvailable);
    client.setHost(host);
    client.setPort(node.port());
    client.Connect();
    client.Disconnect();
    QVERIFY(!client.Connected());
    QTest::qWait(200);
    QCOMPARE(done.size(), 0);
    QCOMPARE(chunks.size(), 0);

    // The client is usable again afterwards.
    QVERIFY(connectClient(client, QStringLiteral("127.0.0.1"), node.port()));
    QVERIFY(chunks.wait(5000));
}

void TestNet::peerCloseDeliversRemainingBytesFirst()
{
    FakeClusterNode node;
    TIdTelnet client;
    QStringList log;
    connect(&client, &TIdTelnet::OnDataAvailable, this,
            [&](TIdTelnet* sender, const QByteArray& chunk) {
                QCOMPARE(sender, &client);
                QVERIFY(!chunk.isEmpty());
                log << QString::fromLatin1(chunk);
            });
    connect(&client, &TIdTelnet::peerClosed, this, [&] {
        QVERIFY(!client.Connected());
        log << QStringLiteral("closed");
    });
    QVERIFY(connectClient(client, QStringLiteral("127.0.0.1"), node.port()));
    QVERIFY(node.waitForClient());

    node.send("73 de GB7DJK\r\n");
    node.send("bye\r\n");
    node.closeClient();
    QVERIFY(QTest::qWaitFor([&] { return log.contains(QStringLiteral("closed")); }, 5000));
    QCOMPARE(log.last(), QStringLiteral("closed"));
    QCOMPARE(log.mid(0, log.size() - 1).join(QString()), QStringLiteral("73 de GB7DJK\r\nbye\r\n"));
    QCOMPARE(log.count(QStringLiteral("closed")), 1);
    QVERIFY(!client.Connected());
    client.SendString(QStringLiteral("sh/dx\r")); // nothing to send to, no failure
    client.Disconnect();
}

void TestNet::peerReset()
{
    FakeClusterNode node;
    TIdTelnet client;
    QSignalSpy closed(&client, &TIdTelnet::peerClosed);
    QVERIFY(connectClient(client, QStringLiteral("127.0.0.1"), node.port()));
    QVERIFY(node.waitForClient());
    node.resetClient();
    QVERIFY(closed.wait(5000));
    QVERIFY(!client.Connected());
    QTest::qWait(50);
    QCOMPARE(closed.size(), 1);
}

void TestNet::disconnectSendsPendingBytesThenEof()
{
    // The node's side is a bare socket here, so the test sees exactly how the
    // stream ends: recv() gives 0 for a clean close and ECONNRESET for a reset.
    RawNode node;
    QVERIFY(node.listen(QHostAddress::LocalHost, 0));
    TIdTelnet client;
    QSignalSpy chunks(&client, &TIdTelnet::OnDataAvailable);
    QSignalSpy closed(&client, &TIdTelnet::peerClosed);
    QVERIFY(connectClient(client, QStringLiteral("127.0.0.1"), node.serverPort()));
    QVERIFY(QTest::qWaitFor([&] { return node.fd >= 0; }, 5000));

    // Bytes the client has not read yet when it disconnects must not turn the
    // close into a reset.
    QCOMPARE(::send(node.fd, "unread", 6, 0), ssize_t(6));
    client.SendString(QStringLiteral("bye\r"));
    client.Disconnect();
    QVERIFY(!client.Connected());

    QByteArray got;
    for (;;) {
        pollfd p{node.fd, POLLIN, 0};
        QVERIFY2(::poll(&p, 1, 5000) == 1, "the node never saw the end of the stream");
        char buf[256];
        const ssize_t n = ::recv(node.fd, buf, sizeof buf, 0);
        QVERIFY2(n >= 0, qPrintable(QStringLiteral("recv: %1").arg(qt_error_string(errno))));
        if (n == 0)
            break;
        got.append(buf, n);
    }
    QCOMPARE(got, QByteArray("bye\r\n"));
    QTest::qWait(50);
    QCOMPARE(chunks.size(), 0);
    QCOMPARE(closed.size(), 0);
    client.Disconnect(); // a second time changes nothing
}

void TestNet::nestedEventLoopInHandlerKeepsChunksInOrder()
{
    FakeClusterNode node;
    TIdTelnet client;
    int depth = 0;
    int maxDepth = 0;
    QStringList log;
    connect(&client, &TIdTelnet::OnDataAvailable, this, [&](TIdTelnet*, const QByteArray& chunk) {
        maxDepth = std::max(maxDepth, ++depth);
        log << QString::fromLatin1(chunk);
        if (chunk.startsWith("one")) {
            // Like a modal message box: the event loop turns inside the
            // handler while the node keeps talking and then leaves.
            node.send("two");
            QTest::qWait(100);
            node.send("three");
            node.closeClient();
            QTest::qWait(100);
        }
        --depth;
    });
    connect(&client, &TIdTelnet::peerClosed, this, [&] { log << QStringLiteral("closed"); });
    QVERIFY(connectClient(client, QStringLiteral("127.0.0.1"), node.port()));
    QVERIFY(node.waitForClient());
    node.send("one");
    QVERIFY(QTest::qWaitFor([&] { return log.contains(QStringLiteral("closed")); }, 5000));
    QCOMPARE(maxDepth, 1);
    QCOMPARE(log.last(), QStringLiteral("closed"));
    QCOMPARE(log.mid(0, log.size() - 1).join(QString()), QStringLiteral("onetwothree"));
}

void TestNet::deleteLaterFromOwnSignal()
{
    FakeClusterNode node;
    QPointer<TIdTelnet> client = new TIdTelnet;
    connect(client, &TIdTelnet::OnDataAvailable, this,
            [&](TIdTelnet* sender, const QByteArray&) { sender->deleteLater(); });
    QVERIFY(connectClient(*client, QStringLiteral("127.0.0.1"), node.port()));
    QVERIFY(node.waitForClient());
    node.send("first");
    node.send("second");
    node.closeClient();
    QVERIFY(QTest::qWaitFor([&] { return client.isNull(); }, 5000));
    QVERIFY(node.waitForClientGone());
}

// "IAC SB" in a node's binary garbage, with no SE ever after it.
void TestNet::straySubnegotiationIsBounded()
{
    TelnetCodec codec;
    QByteArray data;
    const QByteArray garbage = QByteArray("\xFF\xFA\x18", 3) + QByteArray(20000, 'x');
    for (int i = 0; i < 10; ++i) {
        for (const TelnetCodec::Event& e : codec.feed(i == 0 ? garbage : QByteArray("DX de A\r\n")))
            if (e.kind == TelnetCodec::Event::Kind::Data)
                data += e.bytes;
    }
    QVERIFY(data.endsWith("DX de A\r\nDX de A\r\n"));
    QCOMPARE(data.count("DX de A"), 9);
}

QTEST_GUILESS_MAIN(TestNet)
#include "tst_net.moc"
