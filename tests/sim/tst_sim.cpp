#include "SimLines.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QtTest>

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

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
