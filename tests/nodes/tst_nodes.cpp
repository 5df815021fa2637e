#include "TestFiles.h"
#include "net/IcmpEcho.h"
#include "session/NodeGrid.h"
#include "session/NodeList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>

using IcmpEcho::Verdict;

Q_DECLARE_METATYPE(IcmpEcho::Verdict)

namespace {

// An IPv4 header of 20 bytes (45 ...) in front of an ICMP message.
QByteArray withIpHeader(const QByteArray& icmp, int headerBytes = 20)
{
    QByteArray ip(headerBytes, '\0');
    ip[0] = char(0x40 | (headerBytes / 4));
    return ip + icmp;
}

// An ICMP message of the given type whose bytes 6 and 7 hold sequence
// little-endian, padded to size.
QByteArray icmpMessage(int type, quint16 sequence, int size = 16, int sequenceAt = 6)
{
    QByteArray m(qMax(size, sequenceAt + 2), '\0');
    m[0] = char(type);
    m[sequenceAt] = char(sequence & 0xFF);
    m[sequenceAt + 1] = char(sequence >> 8);
    return m.left(size);
}

QStringList runIp(const QStringList& args, bool* ok)
{
    QProcess p;
    p.start(QStringLiteral("ip"), args);
    const bool finished = p.waitForFinished(10000);
    *ok = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return {QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError()).trimmed()};
}

// A network namespace joined to this one by a veth pair. This end has
// 198.18.213.1/30; the far end has no address, so 198.18.213.2 is a
// neighbour that never answers and no packet leaves the machine.
class SilentNeighbour
{
public:
    SilentNeighbour()
    {
        const QString id = QString::number(::getpid());
        m_ns = "mvxping" + id;
        m_near = "mvxa" + id;
        m_far = "mvxb" + id;
    }
    ~SilentNeighbour()
    {
        bool ok;
        runIp({"link", "del", m_near}, &ok);
        runIp({"netns", "del", m_ns}, &ok);
    }
    // Empty on success, else why the system would not allow it.
    QString setUp()
    {
        const QList<QStringList> steps = {
            {"netns", "add", m_ns},
            {"link", "add", m_near, "type", "veth", "peer", "name", m_far},
            {"link", "set", m_far, "netns", m_ns},
            {"addr", "add", "198.18.213.1/30", "dev", m_near},
            {"link", "set", m_near, "up"},
            {"netns", "exec", m_ns, "ip", "link", "set", m_far, "up"},
        };
        for (const QStringList& step : steps) {
            bool ok = false;
            const QStringList out = runIp(step, &ok);
            if (!ok)
                return "ip " + step.join(' ') + ": " + out.value(1);
        }
        return {};
    }
    static QString address() { return QStringLiteral("198.18.213.2"); }

private:
    QString m_ns, m_near, m_far;
};


const QByteArray kNodes = "name_of_node;address;port\r\n"
                          "GB7DJK;gb7djk.dxcluster.net;7300\r\n"
                          " SPACED ; 127.0.0.1 ; 23 \r\n"
                          "TWO;fields\r\n"
                          "\r\n"
                          "FOUR;127.0.0.1;7373;extra\r\n"
                          "GB7DJK;second.example;1\r\n"
                          "LOOP;127.0.0.1;7300\r\n";

// Green pixels (the mark is 0, 128, 0, smoothed at its edges) of what the window last painted in
// that cell, read from the backing store without painting again.
// The green pixels of a row's mark cell as the screen shows it, and the box
// around them in cell coordinates.
int greenPixels(NodeGrid& grid, int row, QRect* box = nullptr)
{
    const QRect cell = grid.visualRect(grid.model()->index(row, NodeGrid::kMarkColumn));
    const QPoint topLeft = grid.viewport()->mapTo(grid.window(), cell.topLeft());
    const QImage shot = grid.screen()
                            ->grabWindow(grid.window()->winId(), topLeft.x(), topLeft.y(),
                                         cell.width(), cell.height())
                            .toImage();
    int count = 0;
    QRect found;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (const QColor c = shot.pixelColor(x, y);
                c.green() > c.red() + 50 && c.green() > c.blue() + 50) {
                ++count;
                found |= QRect(x, y, 1, 1);
            }
    if (box)
        *box = found;
    return count;
}

struct Chosen
{
    QString name, address, port;
};

} // namespace

class TestNodes : public QObject
{
    Q_OBJECT
private slots:
    void echoRequestBytes();
    void judgeDatagram_data();
    void judgeDatagram();
    void pingLoopback_data();
    void pingLoopback();
    void unresolvableNameSendsNothing();
    void twoPingsBothCarrySequence();
    void silentAddressTimesOut();
    void datagramSocketWithoutPrivilege();

    void parseNodeList_data();
    void parseNodeList();

    void loadingSelectsFirstMatchingRow();
    void choosingRowsGivesFieldsAsWritten_data();
    void choosingRowsGivesFieldsAsWritten();
    void keysChooseRows();
    void onlyAddressCellsOfDataRowsPing_data();
    void onlyAddressCellsOfDataRowsPing();
    void failedPingStoresNUntilReload();
    void answeredPingShowsVUntilReload();
    void realPingFromTheGrid();
    void missingFileLeavesGridEmpty();
    void columnWidthsFollowResize();
    void shippedNodeList();

private:
    struct GridFixture;
};

void TestNodes::echoRequestBytes()
{
    const QByteArray request = IcmpEcho::buildRequest(0x1234, 0x0102030405060708ULL);
    QCOMPARE(request.size(), 16);
    QCOMPARE(request.left(2), QByteArray("\x08\x00", 2));
    QCOMPARE(request.mid(4, 2), QByteArray("\x34\x12"));
    QCOMPARE(request.mid(6, 2), QByteArray("\xA1\x0D"));
    QCOMPARE(request.mid(8), QByteArray("\x08\x07\x06\x05\x04\x03\x02\x01"));
    // A message with a correct checksum sums to all ones, so its checksum
    // computed again is zero.
    QCOMPARE(IcmpEcho::checksum(request), quint16(0));
    // RFC 1071's own example: 00 01 f2 03 f4 f5 f6 f7 sums to dd f2.
    const quint16 sum =
        quint16(~IcmpEcho::checksum(QByteArray("\x00\x01\xf2\x03\xf4\xf5\xf6\xf7", 8)));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(&sum), 2), QByteArray("\xdd\xf2"));
}

void TestNodes::judgeDatagram_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<bool>("hasIpHeader");
    QTest::addColumn<Verdict>("expected");
    QTest::newRow("echo reply") << withIpHeader(icmpMessage(0, 3489)) << true << Verdict::Reply;
    QTest::newRow("own echo request seen on loopback")
        << withIpHeader(icmpMessage(8, 3489)) << true << Verdict::Reply;
    QTest::newRow("echo reply of another sequence")
        << withIpHeader(icmpMessage(0, 3490)) << true << Verdict::Skip;
    QTest::newRow("sequence read big-endian would match")
        << withIpHeader(icmpMessage(0, 0xA10D)) << true << Verdict::Skip;
    QTest::newRow("too long by one byte")
        << withIpHeader(icmpMessage(0, 3489, 17)) << true << Verdict::TooLong;
    QTest::newRow("default ping size (84 bytes)")
        << withIpHeader(icmpMessage(0, 3489, 64)) << true << Verdict::TooLong;
    QTest::newRow("too short") << withIpHeader(icmpMessage(0, 3489, 7)) << true
                               << Verdict::TooShort;
    QTest::newRow("too short for a header with options")
        << withIpHeader(icmpMessage(0, 3489, 7), 28) << true << Verdict::TooShort;
    QTest::newRow("header with options")
        << withIpHeader(icmpMessage(0, 3489, 8), 28) << true << Verdict::Reply;
    QTest::newRow("empty") << QByteArray() << true << Verdict::TooShort;
    QTest::newRow("destination unreachable about our request")
        << withIpHeader(icmpMessage(3, 3489, 16, 14)) << true << Verdict::ErrorReply;
    QTest::newRow("destination unreachable about another")
        << withIpHeader(icmpMessage(3, 1, 16, 14)) << true << Verdict::Skip;
    QTest::newRow("destination unreachable with quoted datagram (56 bytes)")
        << withIpHeader(icmpMessage(3, 3489, 36, 14)) << true << Verdict::TooLong;
    QTest::newRow("time exceeded")
        << withIpHeader(icmpMessage(11, 3489, 16, 14)) << true << Verdict::ErrorReply;
    QTest::newRow("timestamp reply reads bytes 6 and 7")
        << withIpHeader(icmpMessage(14, 3489, 16, 6)) << true << Verdict::ErrorReply;
    QTest::newRow("unlisted type")
        << withIpHeader(icmpMessage(9, 3489)) << true << Verdict::NonEcho;
    QTest::newRow("datagram socket: reply") << icmpMessage(0, 3489) << false << Verdict::Reply;
    QTest::newRow("datagram socket: another sequence")
        << icmpMessage(0, 7) << false << Verdict::Skip;
    QTest::newRow("datagram socket: extra data")
        << icmpMessage(0, 3489, 17) << false << Verdict::TooLong;
    QTest::newRow("datagram socket: too short")
        << icmpMessage(0, 3489, 7) << false << Verdict::TooShort;
}

void TestNodes::judgeDatagram()
{
    QFETCH(QByteArray, datagram);
    QFETCH(bool, hasIpHeader);
    QFETCH(Verdict, expected);
    QCOMPARE(IcmpEcho::judgeDatagram(datagram, hasIpHeader), expected);
}

void TestNodes::pingLoopback_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("dotted") << "127.0.0.1";
    QTest::newRow("LOCALHOST") << "LOCALHOST";
    QTest::newRow("mixed case") << "LocalHost";
}

void TestNodes::pingLoopback()
{
    QFETCH(QString, address);
    QCOMPARE(IcmpEcho::resolveIPv4(address), htonl(INADDR_LOOPBACK));
    const IcmpEcho::Outcome outcome = IcmpEcho::ping(address);
    if (outcome.socketUsed == IcmpEcho::SocketKind::Automatic)
        QSKIP("this system allows neither a raw nor an unprivileged ICMP socket");
    QVERIFY(outcome.answered);
    QVERIFY(PingAddress(address));
    QVERIFY(pingAddressAsync(address).result());
}

void TestNodes::unresolvableNameSendsNothing()
{
    const IcmpEcho::Outcome outcome = IcmpEcho::ping("no-such-node.invalid");
    QVERIFY(!outcome.answered);
    QVERIFY(outcome.request.isEmpty());
    QVERIFY(!PingAddress(""));
}

void TestNodes::twoPingsBothCarrySequence()
{
    // Watch the wire as well where a raw socket is allowed: the echo
    // requests sent to 127.0.0.1 come back in through loopback.
    const int watch = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    QList<QByteArray> requests;
    for (int i = 0; i < 2; ++i) {
        const IcmpEcho::Outcome outcome = IcmpEcho::ping("127.0.0.1");
        if (outcome.socketUsed == IcmpEcho::SocketKind::Automatic)
            QSKIP("this system allows neither a raw nor an unprivileged ICMP socket");
        QVERIFY(outcome.answered);
        QCOMPARE(outcome.request.mid(6, 2), QByteArray("\xA1\x0D"));
        requests << outcome.request;
    }
    if (watch < 0)
        return;
    int seen = 0;
    char buffer[1500];
    pollfd pfd{watch, POLLIN, 0};
    while (::poll(&pfd, 1, 100) > 0) {
        const ssize_t got = ::recv(watch, buffer, sizeof buffer, 0);
        const QByteArray icmp = QByteArray(buffer, int(got)).mid((buffer[0] & 0x0F) * 4);
        if (icmp.size() == 16 && icmp[0] == 8 && requests.contains(icmp)) {
            QCOMPARE(icmp.mid(6, 2), QByteArray("\xA1\x0D"));
            ++seen;
        }
    }
    ::close(watch);
    QCOMPARE(seen, 2);
}

void TestNodes::silentAddressTimesOut()
{
    SilentNeighbour neighbour;
    const QString why = neighbour.setUp();
    if (!why.isEmpty())
        QSKIP(qPrintable("network namespaces not allowed here: " + why));
    QElapsedTimer timer;
    timer.start();
    const IcmpEcho::Outcome outcome = IcmpEcho::ping(SilentNeighbour::address());
    const qint64 elapsed = timer.elapsed();
    QVERIFY(!outcome.request.isEmpty());
    QVERIFY(!outcome.answered);
    QVERIFY2(elapsed >= 950 && elapsed < 1500, qPrintable(QString::number(elapsed)));
}

void TestNodes::datagramSocketWithoutPrivilege()
{
    // The unprivileged socket is allowed per network namespace, by group
    // id; a namespace of our own allows it without touching this one.
    const QString ns = "mvxdgram" + QString::number(::getpid());
    bool ok = false;
    QStringList out = runIp({"netns", "add", ns}, &ok);
    if (!ok)
        QSKIP(qPrintable("network namespaces not allowed here: " + out.value(1)));
    const QString script =
        QStringLiteral("ip link set lo up && "
                       "echo '0 2147483647' > /proc/sys/net/ipv4/ping_group_range"
                       " && exec '%1' --datagram-ping 127.0.0.1")
            .arg(QCoreApplication::applicationFilePath());
    out = runIp({"netns", "exec", ns, "sh", "-c", script}, &ok);
    bool deleted = false;
    runIp({"netns", "del", ns}, &deleted);
    QVERIFY2(ok, qPrintable(out.join('\n')));
    QCOMPARE(out.value(0).trimmed(), "answered");
}

void TestNodes::parseNodeList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("CR LF, final break adds no row")
        << QByteArray("h;a;p\r\nA;1;2\r\n") << QStringList{"h", "A"};
    QTest::newRow("LF and no final break")
        << QByteArray("h;a;p\nA;1;2\nB;3;4") << QStringList{"h", "A", "B"};
    QTest::newRow("lone CR") << QByteArray("h;a;p\rA;1;2\r") << QStringList{"h", "A"};
    QTest::newRow("blank lines stay rows")
        << QByteArray("h;a;p\n\nA;1;2\n\n") << QStringList{"h", "", "A", ""};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("Windows-1252") << QByteArray("h;a;p\nI\xD8NODE;1;2\n")
                                  << QStringList{"h", QString::fromUtf8("IØNODE")};
    QTest::newRow("UTF-8 with mark") << QByteArray("\xEF\xBB\xBFh;a;p\nI\xC3\x98;1;2\n")
                                     << QStringList{"h", QString::fromUtf8("IØ")};
    QTest::newRow("UTF-16 LE with mark")
        << QByteArray("\xFF\xFEh\0;\0a\0;\0p\0\r\0\n\0", 16) << QStringList{"h"};
}

void TestNodes::parseNodeList()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QStringList got;
    for (const NodeRow& row : NodeList::parse(bytes))
        got << row.name;
    QCOMPARE(got, names);

    QByteArray many;
    for (int i = 0; i < NodeList::kMaxLines + 5; ++i)
        many += "N;1;2\n";
    QCOMPARE(NodeList::parse(many).size(), NodeList::kMaxLines);
}

struct TestNodes::GridFixture
{
    QTemporaryDir dir;
    QString path = dir.filePath("nodes.txt");
    NodeGrid grid;
    std::atomic<int> pings{0};
    std::atomic<bool> pingAnswer{false};
    QList<Chosen> chosen;

    GridFixture()
    {
        writeFile(path, kNodes);
        grid.setObjectName("StringGrid1");
        grid.resize(320, 240);
        grid.setPinger([this](const QString&) {
            ++pings;
            return pingAnswer.load();
        });
        QObject::connect(&grid, &NodeGrid::nodeChosen, &grid,
                         [this](const QString& n, const QString& a, const QString& p) {
                             chosen.append({n, a, p});
                         });
        grid.show();
        grid.activateWindow();
        if (!QTest::qWaitForWindowActive(&grid))
            qWarning("node grid window did not become active");
    }
    QPoint cellCentre(int row, int column) const
    {
        return grid.visualRect(grid.model()->index(row, column)).center();
    }
    void press(int row, int column, Qt::MouseButton button = Qt::LeftButton)
    {
        if (row == 0) {
            // The heading line is the fixed top row above the data rows.
            QHeaderView* top = grid.horizontalHeader();
            const QPoint at(top->sectionViewportPosition(column) + top->sectionSize(column) / 2,
                            top->height() / 2);
            QTest::mousePress(top->viewport(), button, {}, at);
            QTest::mouseRelease(top->viewport(), button, {}, at);
            return;
        }
        QTest::mousePress(grid.viewport(), button, {}, cellCentre(row, column));
        QTest::mouseRelease(grid.viewport(), button, {}, cellCentre(row, column));
    }
    bool waitForPings()
    {
        return QTest::qWaitFor([this] { return grid.pendingPings() == 0; });
    }
};

void TestNodes::loadingSelectsFirstMatchingRow()
{
    GridFixture f;
    QVERIFY(f.grid.PopulateServers(f.path, "GB7DJK"));
    QCOMPARE(f.grid.rowCount(), 8);
    QCOMPARE(f.grid.columnCount(), 4);
    QCOMPARE(f.grid.cellText(0, 0), "name_of_node");
    QCOMPARE(f.grid.currentRow(), 1);
    QCOMPARE(f.chosen.size(), 1);
    QCOMPARE(f.chosen[0].address, "gb7djk.dxcluster.net");
    QCOMPARE(f.chosen[0].port, "7300");
    QVERIFY(f.grid.hasFocus());
    for (int c = 0; c < 4; ++c)
        QCOMPARE(f.grid.columnWidth(c), QList<int>({70, 115, 35, 20})[c]);

    // Case matters, and the heading is never chosen by its name.
    f.chosen.clear();
    QVERIFY(f.grid.PopulateServers(f.path, "gb7djk"));
    QVERIFY(f.grid.PopulateServers(f.path, "name_of_node"));
    QVERIFY(f.chosen.isEmpty());
}

void TestNodes::choosingRowsGivesFieldsAsWritten_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("blanks kept") << 2 << QStringList{" SPACED ", " 127.0.0.1 ", " 23 "};
    QTest::newRow("two fields") << 3 << QStringList{"", "", ""};
    QTest::newRow("empty line") << 4 << QStringList{"", "", ""};
    QTest::newRow("four fields") << 5 << QStringList{"FOUR", "127.0.0.1", "7373"};
    QTest::newRow("duplicate name") << 6 << QStringList{"GB7DJK", "second.example", "1"};
}

void TestNodes::choosingRowsGivesFieldsAsWritten()
{
    QFETCH(int, row);
    QFETCH(QStringList, fields);
    GridFixture f;
    QVERIFY(f.grid.PopulateServers(f.path, "LOOP"));
    f.chosen.clear();
    f.press(row, NodeGrid::kPortColumn);
    QCOMPARE(f.chosen.size(), 1);
    QCOMPARE((QStringList{f.chosen[0].name, f.chosen[0].address, f.chosen[0].port}), fields);
}

void TestNodes::keysChooseRows()
{
    GridFixture f;
    QVERIFY(f.grid.PopulateServers(f.path, "GB7DJK"));
    f.chosen.clear();
    QTest::keyClick(&f.grid, Qt::Key_Down);
    QTest::keyClick(&f.grid, Qt::Key_Up);
    // The heading row cannot be reached.
    QTest::keyClick(&f.grid, Qt::Key_Up);
    QCOMPARE(f.chosen.size(), 2);
    QCOMPARE(f.chosen[0].name, " SPACED ");
    QCOMPARE(f.chosen[1].name, "GB7DJK");
    QCOMPARE(f.grid.currentRow(), 1);
}

void TestNodes::onlyAddressCellsOfDataRowsPing_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("pings");
    QTest::newRow("address, left") << 7 << 1 << int(Qt::LeftButton) << true;
    QTest::newRow("address, right") << 7 << 1 << int(Qt::RightButton) << true;
    QTest::newRow("address of an empty row") << 4 << 1 << int(Qt::LeftButton) << true;
    QTest::newRow("name") << 7 << 0 << int(Qt::LeftButton) << false;
    QTest::newRow("port") << 7 << 2 << int(Qt::LeftButton) << false;
    QTest::newRow("mark") << 7 << 3 << int(Qt::LeftButton) << false;
    QTest::newRow("heading address") << 0 << 1 << int(Qt::LeftButton) << false;
}

void TestNodes::onlyAddressCellsOfDataRowsPing()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, button);
    QFETCH(bool, pings);
    GridFixture f;
    QVERIFY(f.grid.PopulateServers(f.path, "GB7DJK"));
    f.chosen.clear();
    f.press(row, column, Qt::MouseButton(button));
    QVERIFY(f.waitForPings());
    QCOMPARE(f.pings.load(), pings ? 1 : 0);
    // Only a left press on a data row moves the choice.
    const bool chooses = button == Qt::LeftButton && row > 0;
    QCOMPARE(f.chosen.size(), chooses ? 1 : 0);
    QCOMPARE(f.grid.currentRow(), chooses ? row : 1);
}

void TestNodes::failedPingStoresNUntilReload()
{
    GridFixture f;
    QVERIFY(f.grid.PopulateServers(f.path, "GB7DJK"));
    // A slow ping must not hold the window: the press returns at once.
    f.grid.setPinger([](const QString&) {
        QThread::msleep(300);
        return false;
    });
    QSignalSpy finished(&f.grid, &NodeGrid::pingFinished);
    f.press(2, NodeGrid::kAddressColumn);
    QCOMPARE(f.grid.pendingPings(), 1);
    QVERIFY(finished.wait(2000));
    QCOMPARE(finished[0][0].toInt(), 2);
    QCOMPARE(f.grid.cellText(2, NodeGrid::kMarkColumn), "N");
    f.grid.viewport()->repaint();
    QCOMPARE(f.grid.cellText(2, NodeGrid::kMarkColumn), "N");
    QVERIFY(f.grid.PopulateServers(f.path, "GB7DJK"));
    QCOMPARE(f.grid.cellText(2, NodeGrid::kMarkColumn), QString());
}

// A near node answers within a millisecond, and the click's own repaints
// (the selection, the window's activation) follow: the "V" must outlive them.
void TestNodes::answeredPingShowsVUntilReload()
{
    GridFixture f;
    QVERIFY(f.grid.PopulateServers(f.path, "GB7DJK"));
    f.pingAnswer = true;
    QSignalSpy finished(&f.grid, &NodeGrid::pingFinished);
    f.press(7, NodeGrid::kAddressColumn);
    QVERIFY(finished.wait(2000));
    QVERIFY(finished[0][1].toBool());
    QCOMPARE(f.grid.cellText(7, NodeGrid::kMarkColumn), QString("V"));
    QCOMPARE(f.grid.item(7, NodeGrid::kMarkColumn)->foreground().color(), QColor(0, 128, 0));

    const QRect cell = f.grid.visualRect(f.grid.model()->index(7, NodeGrid::kMarkColumn));
    const auto markShown = [&] {
        QRect box;
        if (greenPixels(f.grid, 7, &box) == 0)
            return false;
        // Centred across the cell, and within it from top to bottom.
        return qAbs(box.center().x() - (cell.width() - 1) / 2) <= 1 && box.top() > 0 &&
               box.bottom() < cell.height() - 1;
    };
    QTRY_VERIFY(markShown());
    QCOMPARE(greenPixels(f.grid, 6), 0);

    // Painted again, another row chosen, the window left and activated
    // again: no reload, so the mark stays.
    f.grid.viewport()->repaint();
    QVERIFY(markShown());
    f.press(2, NodeGrid::kNameColumn);
    QVERIFY(markShown());
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    f.grid.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.grid));
    f.grid.viewport()->repaint();
    QVERIFY(markShown());

    // A failed ping of the same node later shows "N" in the normal colour.
    f.pingAnswer = false;
    f.press(7, NodeGrid::kAddressColumn);
    QVERIFY(finished.wait(2000));
    QCOMPARE(f.grid.cellText(7, NodeGrid::kMarkColumn), QString("N"));
    QTRY_COMPARE(greenPixels(f.grid, 7), 0);

    // The next loading clears every mark.
    f.pingAnswer = true;
    f.press(7, NodeGrid::kAddressColumn);
    QVERIFY(finished.wait(2000));
    QTRY_VERIFY(markShown());
    QVERIFY(f.grid.PopulateServers(f.path, "GB7DJK"));
    QCOMPARE(f.grid.cellText(7, NodeGrid::kMarkColumn), QString());
    f.grid.viewport()->repaint();
    QCOMPARE(greenPixels(f.grid, 7), 0);
}

void TestNodes::realPingFromTheGrid()
{
    GridFixture f;
    f.grid.setPinger({}); // back to the real PingAddress
    QVERIFY(f.grid.PopulateServers(f.path, "LOOP"));
    if (IcmpEcho::ping("127.0.0.1").socketUsed == IcmpEcho::SocketKind::Automatic)
        QSKIP("this system allows neither a raw nor an unprivileged ICMP socket");
    QSignalSpy finished(&f.grid, &NodeGrid::pingFinished);
    f.press(7, NodeGrid::kAddressColumn);
    QVERIFY(finished.wait(3000));
    QVERIFY(finished[0][1].toBool());
    QCOMPARE(f.chosen.last().address, "127.0.0.1");
}

void TestNodes::missingFileLeavesGridEmpty()
{
    GridFixture f;
    QVERIFY(f.grid.PopulateServers(f.path, "GB7DJK"));
    f.chosen.clear();
    QVERIFY(!f.grid.PopulateServers(f.dir.filePath("absent.txt"), "GB7DJK"));
    QVERIFY(f.chosen.isEmpty());
    for (int r = 0; r < f.grid.rowCount(); ++r)
        for (int c = 0; c < f.grid.columnCount(); ++c)
            QCOMPARE(f.grid.cellText(r, c), QString());
}

void TestNodes::columnWidthsFollowResize()
{
    GridFixture f;
    QVERIFY(f.grid.PopulateServers(f.path, "GB7DJK"));
    f.grid.resize(525, 240);
    f.grid.adjustColumnWidths();
    const int base = f.grid.viewport()->width() / 5;
    QCOMPARE(f.grid.columnWidth(0), base);
    QCOMPARE(f.grid.columnWidth(1), 2 * base + 20);
    QCOMPARE(f.grid.columnWidth(3), base);
}

void TestNodes::shippedNodeList()
{
    QFile file(":/nodes.txt");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<NodeRow> rows = NodeList::parse(file.readAll());
    QVERIFY(rows.size() > 2);
    QCOMPARE(rows.first(), (NodeRow{"name_of_node", "address", "port"}));
    QCOMPARE(rows.last(), (NodeRow{"DEMO-SIM", "127.0.0.1", "7300"}));
    for (const NodeRow& row : rows.mid(1)) {
        QVERIFY2(!row.name.isEmpty() && !row.address.isEmpty(), qPrintable(row.name));
        bool ok = false;
        QVERIFY2(row.port.toInt(&ok) > 0 && ok, qPrintable(row.name));
    }
}

int main(int argc, char** argv)
{
    // Run inside a namespace of its own by datagramSocketWithoutPrivilege.
    if (argc == 3 && qstrcmp(argv[1], "--datagram-ping") == 0) {
        const IcmpEcho::Outcome outcome =
            IcmpEcho::ping(QString::fromLocal8Bit(argv[2]), IcmpEcho::SocketKind::Datagram);
        std::fputs(outcome.answered ? "answered\n" : "not answered\n", stdout);
        return 0;
    }
    QApplication app(argc, argv);
    // The resources live in a static library.
    Q_INIT_RESOURCE(resources);
    TestNodes test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_nodes.moc"
