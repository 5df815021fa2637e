#include "SimLines.h"
#include "SimOptions.h"

#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTcpSocket>
#include <QtTest>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using SimLines::Spot;

namespace {

// Reads what the simulator sends, with a deadline on every wait.
class Client
{
public:
    bool connectTo(quint16 port)
    {
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        return m_socket.waitForConnected(3000);
    }
    // Waits until the received bytes satisfy `done`.
    template <typename Pred> bool waitFor(Pred done, int ms = 5000)
    {
        QDeadlineTimer deadline(ms);
        while (!done(m_received)) {
            if (deadline.hasExpired())
                return false;
            if (m_socket.bytesAvailable() == 0 &&
                !m_socket.waitForReadyRead(int(deadline.remainingTime())))
                return done(m_received);
            m_received += m_socket.readAll();
        }
        return true;
    }
    void send(const QByteArray& bytes)
    {
        m_socket.write(bytes);
        m_socket.flush();
    }
    bool waitClosed()
    {
        if (m_socket.state() == QAbstractSocket::UnconnectedState)
            return true;
        return m_socket.waitForDisconnected(3000) ||
               m_socket.state() == QAbstractSocket::UnconnectedState;
    }
    QByteArray& received() { return m_received; }

private:
    QTcpSocket m_socket;
    QByteArray m_received;
};

// A plain socket, because only it tells a reset (ECONNRESET) from a clean
// end of the stream; QTcpSocket reports both as "remote host closed".
class RawClient
{
public:
    enum class End
    {
        Open,   // nothing more came within the quiet time
        Closed, // end of stream
        Reset,  // connection reset
    };

    ~RawClient()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool connectTo(quint16 port)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    quint16 localPort() const
    {
        sockaddr_in address{};
        socklen_t size = sizeof address;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &size);
        return ntohs(address.sin_port);
    }
    bool send(const QByteArray& bytes)
    {
        return ::send(m_fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
    }
    // Reads until the stream ends, or nothing comes for `quietMs`, or
    // `maxMs` have passed.
    End read(int quietMs, int maxMs = 5000)
    {
        QDeadlineTimer deadline(maxMs);
        for (;;) {
            pollfd p{m_fd, POLLIN, 0};
            const int wait = int(std::min<qint64>(quietMs, deadline.remainingTime()));
            if (wait <= 0 || ::poll(&p, 1, wait) <= 0)
                return End::Open;
            char buffer[4096];
            const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (n > 0)
                m_received.append(buffer, n);
            else if (n == 0)
                return End::Closed;
            else if (errno == ECONNRESET)
                return End::Reset;
            else if (errno != EINTR && errno != EAGAIN)
                return End::Closed;
        }
    }
    QByteArray& received() { return m_received; }

private:
    int m_fd = -1;
    QByteArray m_received;
};

// Waits until the simulator has printed `line` on stdout; `seen` keeps what
// it printed so far.
bool waitForOutput(QProcess* sim, const QByteArray& line, QByteArray& seen, int ms = 3000)
{
    QDeadlineTimer deadline(ms);
    while (!seen.contains(line + '\n')) {
        if (deadline.hasExpired())
            return false;
        sim->waitForReadyRead(50);
        seen += sim->readAllStandardOutput();
    }
    return true;
}

int countSpots(const QByteArray& bytes)
{
    return int(bytes.count("\r\nDX de ") + (bytes.startsWith("DX de ") ? 1 : 0));
}

// The spot lines of the stream, cut where the spots began.
QList<QByteArray> spotLines(const QByteArray& stream)
{
    QList<QByteArray> spots;
    for (const QByteArray& line : stream.split('\n')) {
        if (line.startsWith("DX de "))
            spots << line;
    }
    return spots;
}

} // namespace

class TestSim : public QObject
{
    Q_OBJECT
private slots:
    void formatSpot_data();
    void formatSpot();
    void prompt();

    void loginAndStream_data();
    void loginAndStream();
    void seedRepeats();

    void failureOptions_data();
    void failureOptions();
    void badArgumentExits();
    void drops_data();
    void drops();
    void refuseFor();
    void dropOnce();
    void onePerAddress();
    void heldAddress();

private:
    QProcess* startSim(const QStringList& options, quint16& port);
};

void TestSim::formatSpot_data()
{
    QTest::addColumn<QString>("spotter");
    QTest::addColumn<QString>("freq");
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("expected");
    // Time 07:12 for every row.
    QTest::newRow("usual layout")
        << "W3LPL"
        << "21021.0"
        << "VP2MXX"
        << "CW 579 up 2"
        << "DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2                    0712Z";
    QTest::newRow("160m two blanks more")
        << "G3XYZ"
        << "1840.5"
        << "Q9ZZZ"
        << "CW"
        << "DX de G3XYZ:      1840.5  Q9ZZZ        CW                             0712Z";
    QTest::newRow("two decimals end in column 24")
        << "K1TTT"
        << "7018.20"
        << "Q9ZZZ"
        << ""
        << "DX de K1TTT:     7018.20  Q9ZZZ                                       0712Z";
    QTest::newRow("long spotter pushes right")
        << "KO7SS-7-#"
        << "14025.0"
        << "JA1ABC"
        << "CW 12 dB 22 WPM CQ"
        << "DX de KO7SS-7-#:  14025.0  JA1ABC       CW 12 dB 22 WPM CQ             0712Z";
    QTest::newRow("23cm starts in column 16")
        << "DL1ABC"
        << "1296200.0"
        << "OZ1X"
        << ""
        << "DX de DL1ABC:  1296200.0  OZ1X                                        0712Z";
    QTest::newRow("3cm starts in column 15")
        << "DL1ABC"
        << "10368100.0"
        << "OZ1X"
        << ""
        << "DX de DL1ABC: 10368100.0  OZ1X                                        0712Z";
    QTest::newRow("long call pushes the time")
        << "W3LPL"
        << "14025.0"
        << "VK9/DL1ABCD/MM"
        << "up 2"
        << "DX de W3LPL:     14025.0  VK9/DL1ABCD/MM up 2                           0712Z";
    QTest::newRow("comment cut to 30")
        << "W3LPL"
        << "14025.0"
        << "Q9ZZZ"
        << "CQ CQ CW, big pileup, pse listen up and spread out"
        << "DX de W3LPL:     14025.0  Q9ZZZ        CQ CQ CW, big pileup, pse list 0712Z";
}

void TestSim::formatSpot()
{
    QFETCH(QString, spotter);
    QFETCH(QString, freq);
    QFETCH(QString, call);
    QFETCH(QString, comment);
    QFETCH(QString, expected);
    const Spot spot{spotter, freq, call, comment, QTime(7, 12), QDate(2026, 12, 9)};
    QCOMPARE(SimLines::formatSpot(spot), expected);
}

void TestSim::prompt()
{
    QCOMPARE(SimLines::formatPrompt("N0CALL", "SIM-1",
                                    QDateTime(QDate(2026, 12, 9), QTime(23, 30), Qt::UTC)),
             QStringLiteral("N0CALL de SIM-1  9-Dec-2026 2330Z dxspider >"));
    QCOMPARE(SimLines::formatPrompt("G1TLH", "SIM-1",
                                    QDateTime(QDate(2022, 2, 17), QTime(13, 57), Qt::UTC)),
             QStringLiteral("G1TLH de SIM-1 17-Feb-2022 1357Z dxspider >"));
}

QProcess* TestSim::startSim(const QStringList& options, quint16& port)
{
    const QString sim = qEnvironmentVariable("MARVIX_SIM");
    if (sim.isEmpty() || !QFileInfo::exists(sim))
        qFatal("MARVIX_SIM does not name the simulator binary (got \"%s\")", qPrintable(sim));
    auto* process = new QProcess(this);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(sim, QStringList{"--port", "0"} + options);
    if (!process->waitForStarted(3000))
        return process;
    QByteArray first;
    QDeadlineTimer deadline(5000);
    while (!first.contains('\n') && !deadline.hasExpired()) {
        process->waitForReadyRead(100);
        first += process->readAllStandardOutput();
    }
    const auto m = QRegularExpression("^listening on 127\\.0\\.0\\.1:(\\d+)\\n")
                       .match(QString::fromLatin1(first));
    port = m.hasMatch() ? quint16(m.captured(1).toUInt()) : 0;
    return process;
}

void TestSim::loginAndStream_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("callEnd"); // how the client ends the callsign
    QTest::newRow("plain, bare CR") << QStringList{} << QByteArray("\r");
    QTest::newRow("telnet, bells, bursts, split writes, CR LF")
        << QStringList{"--telnet", "--bell", "--burst", "3", "--split"} << QByteArray("\r\n");
    QTest::newRow("LF only") << QStringList{"--burst", "5"} << QByteArray("\n");
}

void TestSim::loginAndStream()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, callEnd);
    const int spots = 40;
    quint16 port = 0;
    QProcess* sim = startSim(
        QStringList{"--seed", "11", "--rate", "400", "--count", QString::number(spots)} + options,
        port);
    QVERIFY2(port != 0, "the simulator did not report its port");

    Client client;
    QVERIFY(client.connectTo(port));
    QVERIFY(client.waitFor([](const QByteArray& b) { return b.endsWith("login: "); }));
    const bool telnet = options.contains("--telnet");
    const QByteArray negotiation("\xFF\xFD\x18\xFF\xFA\x18\x01\xFF\xF0\xFF\xFB\x01\xFF\xFB\x03");
    QCOMPARE(client.received().startsWith(negotiation), telnet);
    // Nothing is streamed before the login.
    QTest::qWait(50);
    QVERIFY(client.received().endsWith("login: "));
    client.received().clear();

    client.send("n0call" + callEnd);
    const QRegularExpression promptLine(
        "N0CALL de SIM-1 [ 1-3]\\d-[A-Z][a-z]{2}-\\d{4} \\d{4}Z dxspider >\r\n");
    QVERIFY(client.waitFor(
        [&](const QByteArray& b) { return promptLine.match(QString::fromLatin1(b)).hasMatch(); }));
    QVERIFY(client.received().startsWith("Hello N0CALL, this is SIM-1"));
    QVERIFY(client.waitFor([&](const QByteArray& b) { return countSpots(b) >= spots; }));
    client.received().clear();

    client.send("sh/dx 5\r\n");
    QVERIFY(client.waitFor(
        [&](const QByteArray& b) { return promptLine.match(QString::fromLatin1(b)).hasMatch(); }));
    QCOMPARE(client.received().count("\r\n"), 6);
    client.received().clear();
    client.send("\r\n");
    QVERIFY(client.waitFor(
        [&](const QByteArray& b) { return promptLine.match(QString::fromLatin1(b)).hasMatch(); }));

    client.send("bye\r\n");
    QVERIFY(client.waitClosed());
    sim->kill();
    sim->waitForFinished(3000);
}

void TestSim::seedRepeats()
{
    quint16 port = 0;
    QProcess* sim = startSim({"--seed", "5", "--rate", "500", "--count", "30", "--bell"}, port);
    QVERIFY(port != 0);

    QList<QList<QByteArray>> runs;
    for (int run = 0; run < 2; ++run) {
        Client client;
        QVERIFY(client.connectTo(port));
        QVERIFY(client.waitFor([](const QByteArray& b) { return b.endsWith("login: "); }));
        client.send("N0CALL\r\n");
        QVERIFY(client.waitFor([](const QByteArray& b) { return countSpots(b) >= 30; }));
        const QList<QByteArray> spots = spotLines(client.received());
        QCOMPARE(spots.size(), 30);

        int normal = 0;
        for (const QByteArray& raw : spots) {
            QVERIFY2(raw.endsWith("\a\a\r"), raw.constData());
            const QString line = QString::fromLatin1(raw.chopped(3));
            const QString spotter = line.mid(6).section(u':', 0, 0);
            const QString call = line.mid(26).section(u' ', 0, 0);
            // The layout of a normal spotter and a call that fits its field.
            if (spotter.size() + 1 > 9 || call.size() > 12 || line.mid(15, 2) != "  ")
                continue;
            ++normal;
            QVERIFY2(line.at(23).isDigit() && line.at(24) == u' ' && line.at(25) == u' ',
                     qPrintable(line));
            QVERIFY2(line.at(26) != u' ', qPrintable(line));
            QCOMPARE(line.size(), 75);
            QVERIFY2(QRegularExpression("^\\d{4}Z$").match(line.mid(70)).hasMatch(),
                     qPrintable(line));
            QVERIFY2(QRegularExpression("^ *\\d+\\.\\d{1,2}$").match(line.mid(16, 8)).hasMatch(),
                     qPrintable(line));
        }
        QVERIFY(normal >= 15);
        // Times differ between runs; the rest must not.
        QList<QByteArray> masked;
        for (const QByteArray& s : spots)
            masked << s.left(70);
        runs << masked;
        client.send("bye\n");
        QVERIFY(client.waitClosed());
    }
    QCOMPARE(runs.at(0), runs.at(1));
    sim->kill();
    sim->waitForFinished(3000);
}

void TestSim::failureOptions_data()
{
    using Drop = SimOptions::Drop;
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error"); // empty: the arguments are good
    QTest::addColumn<Drop>("drop");
    QTest::addColumn<int>("lines");      // -1: not given
    QTest::addColumn<double>("seconds"); // -1: not given
    QTest::addColumn<bool>("once");
    QTest::addColumn<bool>("mute");
    QTest::addColumn<double>("refuseFor");
    QTest::addColumn<bool>("onePerAddress");
    QTest::addColumn<double>("holdFor");

    QTest::newRow("none") << QStringList{} << "" << Drop::None << -1 << -1.0 << false << false
                          << 0.0 << false << 0.0;
    QTest::newRow("reset after lines")
        << QStringList{"--drop", "reset", "--drop-after-lines", "5"} << "" << Drop::Reset << 5
        << -1.0 << false << false << 0.0 << false << 0.0;
    QTest::newRow("close after fractional seconds, once")
        << QStringList{"--drop", "close", "--drop-after-seconds", "2.5", "--drop-once"} << ""
        << Drop::Close << -1 << 2.5 << true << false << 0.0 << false << 0.0;
    QTest::newRow("silent, both limits, zero lines")
        << QStringList{"--drop=SILENT", "--drop-after-lines=0", "--drop-after-seconds=10"} << ""
        << Drop::Silent << 0 << 10.0 << false << false << 0.0 << false << 0.0;
    QTest::newRow("one per address held")
        << QStringList{"--one-per-address", "--hold-for", "0.75"} << "" << Drop::None << -1 << -1.0
        << false << false << 0.0 << true << 0.75;
    QTest::newRow("mute, refuse, one per address")
        << QStringList{"--mute", "--refuse-for", "30", "--one-per-address"} << "" << Drop::None
        << -1 << -1.0 << false << true << 30.0 << true << 0.0;

    const auto bad = [](const char* name, const QStringList& arguments, const char* error) {
        QTest::newRow(name) << arguments << error << Drop::None << -1 << -1.0 << false << false
                            << 0.0 << false << 0.0;
    };
    bad("unknown kind", {"--drop", "explode", "--drop-after-lines", "3"},
        "bad --drop: explode (close, reset or silent)");
    bad("drop without an after", {"--drop", "close"},
        "--drop needs --drop-after-lines or --drop-after-seconds");
    bad("after without a drop", {"--drop-after-seconds", "3"},
        "--drop-after-lines and --drop-after-seconds need --drop");
    bad("once without a drop", {"--drop-once"}, "--drop-once needs --drop");
    bad("negative lines", {"--drop", "reset", "--drop-after-lines=-1"},
        "bad --drop-after-lines: -1");
    bad("fractional lines", {"--drop", "reset", "--drop-after-lines", "2.5"},
        "bad --drop-after-lines: 2.5");
    bad("lines not a number", {"--drop", "reset", "--drop-after-lines", "five"},
        "bad --drop-after-lines: five");
    bad("negative seconds", {"--drop", "close", "--drop-after-seconds=-0.5"},
        "bad --drop-after-seconds: -0.5");
    bad("seconds not a number", {"--drop", "close", "--drop-after-seconds", "soon"},
        "bad --drop-after-seconds: soon");
    bad("seconds not finite", {"--drop", "close", "--drop-after-seconds", "inf"},
        "bad --drop-after-seconds: inf");
    bad("seconds beyond a timer", {"--drop", "close", "--drop-after-seconds", "1e7"},
        "bad --drop-after-seconds: 1e7");
    bad("refuse not a number", {"--refuse-for", "nan"}, "bad --refuse-for: nan");
    bad("refuse negative", {"--refuse-for=-30"}, "bad --refuse-for: -30");
    bad("hold without one per address", {"--hold-for", "5"}, "--hold-for needs --one-per-address");
    bad("hold not a number", {"--one-per-address", "--hold-for", "5s"}, "bad --hold-for: 5s");
}

void TestSim::failureOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    SimOptions options;
    QString message;
    const bool ok = SimOptions::parse(QStringList{"dxnode-sim"} + arguments, options, message);
    QCOMPARE(message, error);
    QCOMPARE(ok, error.isEmpty());
    if (!ok)
        return;
    QFETCH(SimOptions::Drop, drop);
    QFETCH(int, lines);
    QFETCH(double, seconds);
    QFETCH(bool, once);
    QFETCH(bool, mute);
    QFETCH(double, refuseFor);
    QFETCH(bool, onePerAddress);
    QFETCH(double, holdFor);
    QCOMPARE(options.drop, drop);
    QCOMPARE(options.dropAfterLines.value_or(-1), lines);
    QCOMPARE(options.dropAfterSeconds.value_or(-1), seconds);
    QCOMPARE(options.dropOnce, once);
    QCOMPARE(options.mute, mute);
    QCOMPARE(options.refuseFor, refuseFor);
    QCOMPARE(options.onePerAddress, onePerAddress);
    QCOMPARE(options.holdFor, holdFor);
}

// The process itself says what is wrong and exits as for any bad argument.
void TestSim::badArgumentExits()
{
    QProcess sim;
    sim.start(qEnvironmentVariable("MARVIX_SIM"), {"--drop", "reset", "--drop-after-lines", "x"});
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 2);
    QCOMPARE(sim.readAllStandardError(), QByteArray("dxnode-sim: bad --drop-after-lines: x\n"));
    QVERIFY(sim.readAllStandardOutput().isEmpty());
}

void TestSim::drops_data()
{
    using End = RawClient::End;
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("lines"); // lines the user sees; -1: any number
    QTest::addColumn<End>("end");
    QTest::addColumn<QByteArray>("printed"); // after "dropped 127.0.0.1:PORT: "

    // Logged in at once, the user is sent 8 lines (greeting, hello, prompt)
    // and then the stream, three spots to a write: 10 lines end within a
    // write of spots.
    QTest::newRow("reset after lines") << QStringList{"--drop", "reset", "--drop-after-lines", "10"}
                                       << 10 << End::Reset << QByteArray("reset after 10 lines");
    QTest::newRow("close after lines") << QStringList{"--drop", "close", "--drop-after-lines", "10"}
                                       << 10 << End::Closed << QByteArray("close after 10 lines");
    QTest::newRow("silent after lines")
        << QStringList{"--drop", "silent", "--drop-after-lines", "10"} << 10 << End::Open
        << QByteArray("silent after 10 lines");
    QTest::newRow("close before the login prompt")
        << QStringList{"--drop", "close", "--drop-after-lines", "1", "--drop-after-seconds", "9"}
        << 1 << End::Closed << QByteArray("close after 1 line");
    QTest::newRow("reset mid-stream after seconds")
        << QStringList{"--drop", "reset", "--drop-after-seconds", "0.4", "--drop-after-lines",
                       "100000"}
        << -1 << End::Reset << QByteArray("reset after 0.4 s");
    QTest::newRow("mute") << QStringList{"--mute"} << 0 << End::Open << QByteArray();
}

void TestSim::drops()
{
    QFETCH(QStringList, options);
    QFETCH(int, lines);
    QFETCH(RawClient::End, end);
    QFETCH(QByteArray, printed);
    quint16 port = 0;
    QProcess* sim =
        startSim(QStringList{"--seed", "3", "--rate", "100", "--burst", "3"} + options, port);
    const auto stop = qScopeGuard([sim] {
        sim->kill();
        sim->waitForFinished(3000);
    });
    QVERIFY(port != 0);

    RawClient client;
    QVERIFY(client.connectTo(port));
    QVERIFY(client.send("n0call\r\n"));
    QCOMPARE(client.read(1000), end);
    const QByteArray& got = client.received();
    if (lines >= 0) {
        QCOMPARE(got.count("\r\n"), lines);
        QCOMPARE(got.count('\n'), lines);
    }
    if (lines > 0)
        QVERIFY2(got.endsWith("\r\n"), got.right(80).constData());
    if (lines > 2)
        QVERIFY(got.contains("login: Hello N0CALL, this is SIM-1"));
    if (lines < 0) // the stream ran past the 8 lines of the login until the reset
        QVERIFY2(got.count('\n') > 8 + 5, got.constData());

    if (end == RawClient::End::Open) {
        // Still there and listening, but never answers.
        QVERIFY(client.send("sh/dx 5\r\n"));
        QCOMPARE(client.read(1000), RawClient::End::Open);
        QCOMPARE(client.received().count('\n'), lines);
    }
    QByteArray seen;
    if (!printed.isEmpty()) {
        const QByteArray line =
            "dropped 127.0.0.1:" + QByteArray::number(client.localPort()) + ": " + printed;
        QVERIFY2(waitForOutput(sim, line, seen), seen.constData());
    } else {
        sim->waitForReadyRead(200);
        QVERIFY(sim->readAllStandardOutput().isEmpty());
    }
}

void TestSim::refuseFor()
{
    quint16 port = 0;
    QElapsedTimer sinceStart;
    sinceStart.start();
    QProcess* sim = startSim({"--refuse-for", "1.5"}, port);
    const auto stop = qScopeGuard([sim] {
        sim->kill();
        sim->waitForFinished(3000);
    });
    QVERIFY(port != 0);

    RawClient early;
    QVERIFY(early.connectTo(port));
    QCOMPARE(early.read(1000), RawClient::End::Reset);
    QVERIFY(early.received().isEmpty());
    QVERIFY2(sinceStart.elapsed() < 1500, "too slow to try within the window");
    QByteArray seen;
    QVERIFY(waitForOutput(sim, "refused 127.0.0.1:" + QByteArray::number(early.localPort()), seen));

    QTest::qWait(int(1700 - sinceStart.elapsed()));
    RawClient later;
    QVERIFY(later.connectTo(port));
    QCOMPARE(later.read(300), RawClient::End::Open);
    QVERIFY(later.received().startsWith("Welcome to SIM-1"));
    QVERIFY(later.received().endsWith("login: "));
}

void TestSim::dropOnce()
{
    quint16 port = 0;
    QProcess* sim = startSim({"--drop", "close", "--drop-after-lines", "3", "--drop-once"}, port);
    const auto stop = qScopeGuard([sim] {
        sim->kill();
        sim->waitForFinished(3000);
    });
    QVERIFY(port != 0);

    RawClient first;
    QVERIFY(first.connectTo(port));
    QVERIFY(first.send("n0call\r\n"));
    QCOMPARE(first.read(1000), RawClient::End::Closed);
    QCOMPARE(first.received().count('\n'), 3);

    for (int i = 0; i < 2; ++i) {
        RawClient again;
        QVERIFY(again.connectTo(port));
        QVERIFY(again.send("n0call\r\nsh/dx 3\r\n"));
        QCOMPARE(again.read(500), RawClient::End::Open);
        QVERIFY(again.received().count("dxspider >\r\n") == 2);
        QCOMPARE(again.received().count('\n'), 8 + 4);
    }
    QByteArray seen;
    sim->waitForReadyRead(200);
    seen = sim->readAllStandardOutput();
    QCOMPARE(seen.count("dropped "), 1);
}

// A silent session still holds its address; once the user has gone, the
// address may connect again.
void TestSim::onePerAddress()
{
    quint16 port = 0;
    QProcess* sim =
        startSim({"--one-per-address", "--drop", "silent", "--drop-after-lines", "2"}, port);
    const auto stop = qScopeGuard([sim] {
        sim->kill();
        sim->waitForFinished(3000);
    });
    QVERIFY(port != 0);

    auto held = std::make_unique<RawClient>();
    QVERIFY(held->connectTo(port));
    QCOMPARE(held->read(500), RawClient::End::Open);
    QCOMPARE(held->received(), QByteArray("Welcome to SIM-1, a DX cluster node simulator\r\n\r\n"));

    RawClient second;
    QVERIFY(second.connectTo(port));
    QCOMPARE(second.read(1000), RawClient::End::Closed);
    QCOMPARE(second.received(), QByteArray("Sorry, you are already connected\r\n"));
    QByteArray seen;
    QVERIFY(waitForOutput(sim,
                          "turned away 127.0.0.1:" + QByteArray::number(second.localPort()) +
                              ": already connected",
                          seen));

    held.reset(); // the user leaves; the node notices the end of the stream
    QByteArray welcome;
    QDeadlineTimer deadline(3000);
    while (!welcome.startsWith("Welcome") && !deadline.hasExpired()) {
        RawClient third;
        QVERIFY(third.connectTo(port));
        third.read(300);
        welcome = third.received();
    }
    QVERIFY2(welcome.startsWith("Welcome to SIM-1"), welcome.constData());
}

// The node has not noticed that the user went: the address stays taken for
// the hold, then may connect again.
void TestSim::heldAddress()
{
    quint16 port = 0;
    QProcess* sim = startSim({"--one-per-address", "--hold-for", "1.5"}, port);
    const auto stop = qScopeGuard([sim] {
        sim->kill();
        sim->waitForFinished(3000);
    });
    QVERIFY(port != 0);

    QElapsedTimer sinceGone;
    {
        RawClient first;
        QVERIFY(first.connectTo(port));
        QCOMPARE(first.read(300), RawClient::End::Open);
        QVERIFY(first.received().endsWith("login: "));
        sinceGone.start();
    }
    QTest::qWait(200); // the node sees the end of the stream
    RawClient again;
    QVERIFY(again.connectTo(port));
    QCOMPARE(again.read(1000), RawClient::End::Closed);
    QCOMPARE(again.received(), QByteArray("Sorry, you are already connected\r\n"));
    QVERIFY2(sinceGone.elapsed() < 1500, "too slow to try within the hold");

    QTest::qWait(int(1800 - sinceGone.elapsed()));
    RawClient later;
    QVERIFY(later.connectTo(port));
    QCOMPARE(later.read(300), RawClient::End::Open);
    QVERIFY(later.received().startsWith("Welcome to SIM-1"));
}

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
