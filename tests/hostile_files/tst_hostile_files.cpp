#include "MainWindowFixture.h"
#include "ProcessMemory.h"
#include "Sanitizers.h"

#include "livecheck/DxpeditionList.h"
#include "net/EIdException.h"
#include "net/InternetCheck.h"

#include <QElapsedTimer>
#include <QFile>
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

QTEST_MAIN(TestHostileFiles)
#include "tst_hostile_files.moc"
