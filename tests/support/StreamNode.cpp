#include "support/StreamNode.h"

#include <QtGlobal>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

bool StreamNode::Link::write(const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(m_fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

void StreamNode::Link::close()
{
    ::shutdown(m_fd, SHUT_WR);
}

void StreamNode::Link::reset()
{
    // Closing with a zero linger time sends an RST instead of a FIN.
    const linger abortive{1, 0};
    ::setsockopt(m_fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    ::close(m_fd);
    m_fd = -1;
}

StreamNode::StreamNode(Script script) : m_script(std::move(script))
{
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (m_listenFd < 0 || ::bind(m_listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(m_listenFd, 1) != 0 ||
        ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        qFatal("StreamNode: cannot listen on 127.0.0.1");
    m_port = ntohs(addr.sin_port);
    m_thread = std::thread([this] { run(); });
}

StreamNode::~StreamNode()
{
    m_stopping = true;
    ::shutdown(m_listenFd, SHUT_RDWR);
    m_thread.join();
    ::close(m_listenFd);
}

void StreamNode::run()
{
    // Wait for the client, looking up now and then whether the test is over.
    int fd = -1;
    while (!m_stopping && fd < 0) {
        pollfd p{m_listenFd, POLLIN, 0};
        if (::poll(&p, 1, 50) > 0 && (p.revents & POLLIN))
            fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    }
    if (fd >= 0) {
        Link link(fd);
        m_script(link);
        // The client closes first, or the test ends: only then is the
        // descriptor let go, so no byte is cut off by an early close.
        char sink[4096];
        while (link.fd() >= 0 && !m_stopping) {
            pollfd p{link.fd(), POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const ssize_t n = ::recv(link.fd(), sink, sizeof sink, MSG_DONTWAIT);
            if (n == 0 || (n < 0 && errno != EAGAIN))
                break;
        }
        if (link.fd() >= 0)
            ::close(link.fd());
    }
    m_finished = true;
}
