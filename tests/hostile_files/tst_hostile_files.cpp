#include "FakeClusterNode.h"
#include "LatencyProbe.h"
#include "MainWindowFixture.h"
#include "ProcessMemory.h"
#include "Sanitizers.h"
#include "TestFiles.h"

#include "alerts/AlertsFile.h"
#include "livecheck/DxpeditionList.h"
#include "net/EIdException.h"
#include "net/InternetCheck.h"
#include "windows/AlertsWindow.h"
#include "windows/DxWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QStringList>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// A web host on 127.0.0.1 that answers "HTTP/1.1 200 OK" at once and then
// sends a body that never ends, either as fast as the socket takes it or one
// byte a second. It serves from a thread of its own because the client call
// under test blocks the test's thread.
class EndlessBodyHost
{
public:
    explicit EndlessBodyHost(bool trickle) : m_trickle(trickle)
    {
        m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
            ::listen(m_listenFd, 4) != 0 ||
            ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            return;
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { run(); });
    }
    ~EndlessBodyHost()
    {
        m_stopping = true;
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_listenFd);
    }
    quint16 port() const { return m_port; }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/list.txt").arg(m_port); }

private:
    void run()
    {
        while (!m_stopping) {
            pollfd p{m_listenFd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            serve(fd);
            ::close(fd);
        }
    }
    void serve(int fd)
    {
        QByteArray request;
        char buf[1024];
        while (!request.contains("\r\n\r\n") && !m_stopping) {
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0)
                return;
            request.append(buf, n);
        }
        const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n";
        if (::send(fd, head.constData(), size_t(head.size()), MSG_NOSIGNAL) < 0)
            return;
        const QByteArray chunk = m_trickle ? QByteArray("K") : QByteArray(64 * 1024, 'K');
        while (!m_stopping) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            if (p.revents & (POLLERR | POLLHUP))
                return;
            if (::send(fd, chunk.constData(), size_t(chunk.size()), MSG_NOSIGNAL) < 0)
                return;
            if (m_trickle) {
                for (int i = 0; i < 20 && !m_stopping; ++i)
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
    }

    bool m_trickle;
    int m_listenFd = -1;
    quint16 m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
};


} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void probeDecidesOnTheStatusLine_data();
    void probeDecidesOnTheStatusLine();
    void endlessListIsCutOffAndTakenAsFailed();
    void startUpWithEndlessHosts_data();
    void startUpWithEndlessHosts();
    void emptyRulesPastTheCapStallNothing();
    void brokenRulesOpenTheEditorAtOnce();
};

void TestHostileFiles::probeDecidesOnTheStatusLine_data()
{
    QTest::addColumn<bool>("trickle");
    QTest::newRow("endless fast body") << false;
    QTest::newRow("body one byte a second") << true;
}

// The probe must say "reachable" from the status line alone. Had it read
// the trickled body it would hit the 30 s request limit and say "no
// internet"; had it read the fast one, memory would grow without end.
void TestHostileFiles::probeDecidesOnTheStatusLine()
{
    QFETCH(bool, trickle);
    EndlessBodyHost host(trickle);
    QVERIFY(host.port() != 0);
    const qint64 before = ProcessMemory::peakResidentBytes();
    QVERIFY(CheckInternetConnection(host.url(), 10000, 30000));
    QVERIFY2(ProcessMemory::peakResidentBytes() - before < 64 * 1024 * 1024, "probe memory grew past 64 MiB");
}

// A list body that never ends stops at 4 MiB and the download fails, so the
// caller keeps the list empty as for any failed download.
void TestHostileFiles::endlessListIsCutOffAndTakenAsFailed()
{
    EndlessBodyHost host(false);
    QVERIFY(host.port() != 0);
    const qint64 before = ProcessMemory::peakResidentBytes();
    QStringList list;
    QVERIFY_THROWS_EXCEPTION(EIdException,
                             DxpeditionList::DownloadAndReadFileDolv(host.url(), list, 10000, 30000));
    QVERIFY(list.isEmpty());
    QVERIFY2(ProcessMemory::peakResidentBytes() - before < 64 * 1024 * 1024, "list memory grew past 64 MiB");
}

void TestHostileFiles::startUpWithEndlessHosts_data()
{
    probeDecidesOnTheStatusLine_data();
}

// The window's own start-up against a probe host and a list host that both
// send endless bodies: the internet is found present at once, the list ends
// empty (cut at its limit, or at the request time-out for the trickle), and
// the start neither waits long nor fills memory.
void TestHostileFiles::startUpWithEndlessHosts()
{
    QFETCH(bool, trickle);
    EndlessBodyHost probeHost(trickle);
    EndlessBodyHost listHost(trickle);
    QVERIFY(probeHost.port() != 0 && listHost.port() != 0);
    const qint64 before = ProcessMemory::peakResidentBytes();
    QElapsedTimer clock;
    clock.start();
    MainWindowFixture w([&](AppContext& app) {
        app.internetCheck = CheckInternetConnection; // the real probe
        app.hosts.probe = probeHost.url();
        app.hosts.dxpeditionList = listHost.url();
        app.httpConnectTimeoutMs = 2000;
        app.httpRequestTimeoutMs = 1500;
    });
    const qint64 took = clock.elapsed();
    QVERIFY2(took < 1500 + 4000, qPrintable(QStringLiteral("start-up took %1 ms").arg(took)));
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    QCOMPARE(w.ctx.messages, QStringList());
    QCOMPARE(w.ctx.quitRequests, 0);
    QVERIFY(w.form->dxpeditions().FinalstringListDolv.isEmpty());
    const qint64 grown = ProcessMemory::peakResidentBytes() - before;
    QVERIFY2(kAddressSanitizer || grown < 300LL * 1024 * 1024,
             qPrintable(QStringLiteral("memory grew by %1 MB").arg(grown >> 20)));
    qInfo("start-up %lld ms, peak memory grown %lld MB", took, grown >> 20);
}

namespace {

// An alerts.ini as a shared file may come: every line a section "[RuleN]"
// followed by body, numbered on until the file has count rules.
QByteArray manyRules(int count, const QByteArray& body)
{
    QByteArray ini;
    for (int i = 1; i <= count; ++i)
        ini += "[Rule" + QByteArray::number(i) + "]\n" + body;
    return ini;
}

void putAlertsFile(const AppContext& app, const QByteArray& ini)
{
    QVERIFY(ini.size() <= AlertsFile::kMaxBytes);
    QVERIFY(writeFile(QDir(app.programDir).filePath(AlertsFile::fileName()), ini));
}

} // namespace

// 88,306 empty rules (1 MiB), each matching every spot, and a few spots
// with the DX window open: the first thousand rules fire, the window keeps
// answering, and the editor names the rules it skipped.
void TestHostileFiles::emptyRulesPastTheCapStallNothing()
{
    FakeClusterNode node;
    node.setGreeting("login: ");
    MainWindowFixture w([](AppContext& app) { putAlertsFile(app, manyRules(88306, {})); });
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    DxWindow* dx = w.form->showDxWindow();
    QVERIFY(QTest::qWaitForWindowExposed(dx));
    QVERIFY(w.connectTo(node));
    QVERIFY(w.waitForLine(QStringLiteral("login:")));

    LatencyProbe probe;
    probe.start();
    for (int i = 0; i < 5; ++i)
        node.send(QStringLiteral("DX de W3LPL:     14025.0  %1 CW 599                           0712Z\r\n")
                      .arg(QStringLiteral("Q%1A").arg(i), -12)
                      .toLatin1());
    const QAbstractItemModel* alerts = dx->alertList()->model();
    const auto last = [&] { return alerts->index(alerts->rowCount() - 1, 0).data().toString(); };
    QTRY_VERIFY2(last().contains(QStringLiteral("Rule1000: DX de W3LPL: 14025.0 Q4A")),
                 qPrintable(last()));
    QTest::qWait(100);
    probe.stop();
    QCOMPARE(alerts->rowCount(), 1000);
    QVERIFY2(probe.worstMs() <= LatencyProbe::kLimitMs,
             qPrintable(QStringLiteral("the window did not answer for %1 ms").arg(probe.worstMs())));
    qInfo("5 spots, 1000 rules each: worst wait %lld ms", probe.worstMs());

    AlertsWindow* editor = w.form->showAlertsWindow();
    QCOMPARE(editor->rules().size(), AlertsFile::kMaxRules);
    QCOMPARE(editor->findChild<QLabel*>(QStringLiteral("AlertProblems"))->text(),
             QStringLiteral("alerts.ini: 87306 rules past the first 1000 are skipped, from Rule1001 on"));
}

// 75,690 rules of one broken line each (1 MiB): F4 opens the editor at
// once, listing the first problems and counting the rest.
void TestHostileFiles::brokenRulesOpenTheEditorAtOnce()
{
    MainWindowFixture w([](AppContext& app) { putAlertsFile(app, manyRules(75690, "x\n")); });
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    const qint64 before = ProcessMemory::residentBytes();
    LatencyProbe probe;
    probe.start();
    QTest::keyClick(w.form.get(), Qt::Key_F4);
    QTRY_VERIFY(QApplication::activeWindow()
                && QApplication::activeWindow()->objectName() == u"AlertsWindow");
    QTest::qWait(100);
    probe.stop();
    const qint64 grown = ProcessMemory::residentBytes() - before;

    AlertsWindow* editor = w.form->showAlertsWindow();
    QVERIFY(editor->rules().isEmpty());
    const QStringList told =
        editor->findChild<QLabel*>(QStringLiteral("AlertProblems"))->text().split(u'\n');
    QCOMPARE(told.size(), AlertsFile::kShownProblems + 1);
    QCOMPARE(told.first(),
             QStringLiteral("alerts.ini: 74690 rules past the first 1000 are skipped, from Rule1001 on"));
    QCOMPARE(told.at(1), QStringLiteral("Rule1: line 2 is no Key=value line: x"));
    QCOMPARE(told.last(), QStringLiteral("and 981 more problems"));
    qInfo("F4: worst wait %lld ms, memory grown %lld MB", probe.worstMs(), grown >> 20);
    QVERIFY2(probe.worstMs() <= LatencyProbe::kLimitMs,
             qPrintable(QStringLiteral("F4 held the window %1 ms").arg(probe.worstMs())));
    QVERIFY2(kAddressSanitizer || grown < 32LL * 1024 * 1024,
             qPrintable(QStringLiteral("memory grew by %1 MB").arg(grown >> 20)));
}

QTEST_MAIN(TestHostileFiles)
#include "tst_hostile_files.moc"
