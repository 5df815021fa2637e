#include "support/LocalHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

LocalHttpServer::LocalHttpServer()
{
    m_reply = response(200, "OK", {"Content-Type: text/plain"}, "OK");
}

LocalHttpServer::~LocalHttpServer()
{
    stop();
}

bool LocalHttpServer::start()
{
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listenFd < 0)
        return false;
    const int one = 1;
    ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(m_listenFd, 16) != 0) {
        ::close(m_listenFd);
        m_listenFd = -1;
        return false;
    }
    socklen_t len = sizeof addr;
    ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    if (::pipe2(m_wakePipe, O_CLOEXEC) != 0)
        return false;
    m_thread = std::thread([this] { run(); });
    return true;
}

void LocalHttpServer::stop()
{
    if (!m_thread.joinable())
        return;
    m_stopping = true;
    const char wake = 'x';
    [[maybe_unused]] auto written = ::write(m_wakePipe[1], &wake, 1);
    m_thread.join();
    ::close(m_listenFd);
    ::close(m_wakePipe[0]);
    ::close(m_wakePipe[1]);
    m_listenFd = -1;
    std::lock_guard lock(m_mutex);
    for (int fd : m_silentFds)
        ::close(fd);
    m_silentFds.clear();
}

QString LocalHttpServer::url(const QString& target) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(target);
}

void LocalHttpServer::setReply(const QByteArray& rawResponse)
{
    std::lock_guard lock(m_mutex);
    m_reply = rawResponse;
    m_behaviour = Behaviour::Reply;
}

void LocalHttpServer::setBehaviour(Behaviour behaviour)
{
    std::lock_guard lock(m_mutex);
    m_behaviour = behaviour;
}

QList<QByteArray> LocalHttpServer::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

QByteArray LocalHttpServer::lastRequest() const
{
    std::lock_guard lock(m_mutex);
    return m_requests.isEmpty() ? QByteArray() : m_requests.last();
}

QByteArray LocalHttpServer::response(int code, const QByteArray& reason,
                                     const QList<QByteArray>& headers, const QByteArray& body)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(code) + ' ' + reason + "\r\n";
    bool hasLength = false;
    for (const QByteArray& h : headers) {
        out += h + "\r\n";
        hasLength = hasLength || h.toLower().startsWith("content-length:");
    }
    if (!hasLength)
        out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return out + "\r\n" + body;
}

QByteArray LocalHttpServer::chunkedResponse(int code, const QByteArray& reason,
                                            const QList<QByteArray>& headers,
                                            const QList<QByteArray>& pieces)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(code) + ' ' + reason + "\r\n";
    for (const QByteArray& h : headers)
        out += h + "\r\n";
    out += "Transfer-Encoding: chunked\r\n\r\n";
    for (const QByteArray& piece : pieces)
        out += QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
    return out + "0\r\n\r\n";
}

void LocalHttpServer::run()
{
    while (!m_stopping) {
        pollfd fds[2] = {{m_listenFd, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0)
            continue;
        if (fds[1].revents)
            break;
        if (fds[0].revents & POLLIN) {
            const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0)
                serve(fd);
        }
    }
}

void LocalHttpServer::serve(int fd)
{
    // One request: everything up to the empty line that ends its headers.
    QByteArray request;
    while (!m_stopping && !request.contains("\r\n\r\n")) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
        if (::poll(fds, 2, 5000) <= 0 || fds[1].revents)
            break;
        char buf[4096];
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            break;
        request.append(buf, n);
    }

    Behaviour behaviour;
    QByteArray reply;
    {
        std::lock_guard lock(m_mutex);
        m_requests.append(request);
        behaviour = m_behaviour;
        reply = m_reply;
        if (behaviour == Behaviour::NeverAnswer) {
            m_silentFds.append(fd);
            return;
        }
    }
    if (behaviour == Behaviour::Reply) {
        qsizetype sent = 0;
        while (sent < reply.size()) {
            const ssize_t n =
                ::send(fd, reply.constData() + sent, size_t(reply.size() - sent), MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += n;
        }
    }
    ::shutdown(fd, SHUT_WR);
    ::close(fd);
}
