#include "net/IcmpEcho.h"

#include "net/HostAddress.h"

#include <QDeadlineTimer>
#include <QThreadPool>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

#include <arpa/inet.h>
#include <cerrno>
#include <ctime>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstring>

namespace IcmpEcho {

namespace {

quint16 readLe16(QByteArrayView bytes, qsizetype at)
{
    return quint16(quint8(bytes[at])) | quint16(quint8(bytes[at + 1]) << 8);
}

// ICMP types that report a problem with a datagram we sent. Their sequence
// field tells whether the report is about our request.
bool isReportType(int type)
{
    return type == 3 || type == 5 || type == 11 || type == 12 || (type >= 13 && type <= 18) ||
           (type >= 30 && type <= 36) || type == 40;
}

quint64 millisecondTick()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return quint64(ts.tv_sec) * 1000u + quint64(ts.tv_nsec) / 1000000u;
}

class SocketHandle
{
public:
    explicit SocketHandle(int fd) : m_fd(fd) {}
    ~SocketHandle()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    SocketHandle(const SocketHandle&) = delete;
    SocketHandle& operator=(const SocketHandle&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

int openSocket(SocketKind kind)
{
    const int type = kind == SocketKind::Raw ? SOCK_RAW : SOCK_DGRAM;
    return ::socket(AF_INET, type | SOCK_CLOEXEC, IPPROTO_ICMP);
}

} // namespace

quint16 checksum(QByteArrayView bytes)
{
    quint32 sum = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i + 1 < n; i += 2) {
        quint16 word;
        std::memcpy(&word, bytes.data() + i, 2);
        sum += word;
    }
    if (n % 2 != 0) {
        quint16 word = 0;
        std::memcpy(&word, bytes.data() + n - 1, 1);
        sum += word;
    }
    while (sum >> 16)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return quint16(~sum);
}

QByteArray buildRequest(quint16 identifier, quint64 tickMs)
{
    QByteArray msg(kRequestSize, '\0');
    msg[0] = 8;
    msg[1] = 0;
    msg[4] = char(identifier & 0xFF);
    msg[5] = char(identifier >> 8);
    msg[6] = char(kSequence & 0xFF);
    msg[7] = char(kSequence >> 8);
    for (int i = 0; i < 8; ++i)
        msg[8 + i] = char((tickMs >> (8 * i)) & 0xFF);
    const quint16 sum = checksum(msg);
    std::memcpy(msg.data() + 2, &sum, 2);
    return msg;
}

Verdict judgeDatagram(QByteArrayView datagram, bool hasIpHeader)
{
    const qsizetype size = datagram.size();
    const qsizetype limit = hasIpHeader ? kReceiveBufferSize : kReceiveBufferSize - kIpHeaderSize;
    if (size > limit)
        return Verdict::TooLong;
    if (hasIpHeader && size < 1)
        return Verdict::TooShort;
    // 45 00 00 24 ...: the low nibble of the first byte counts 32-bit words.
    const qsizetype header = hasIpHeader ? (quint8(datagram[0]) & 0x0F) * 4 : 0;
    if (size < header + 8)
        return Verdict::TooShort;

    const int type = quint8(datagram[header]);
    if (type == 0 || type == 8)
        return readLe16(datagram, header + 6) == kSequence ? Verdict::Reply : Verdict::Skip;
    if (isReportType(type)) {
        const qsizetype at = header + ((type == 13 || type == 14) ? 6 : 14);
        // A report cut short cannot name our sequence.
        if (at + 2 > size)
            return Verdict::Skip;
        return readLe16(datagram, at) == kSequence ? Verdict::ErrorReply : Verdict::Skip;
    }
    return Verdict::NonEcho;
}

std::optional<quint32> resolveIPv4(const QString& host)
{
    if (host.isEmpty())
        return std::nullopt;
    if (const std::optional<quint32> literal = HostAddress::literalIPv4(host))
        return htonl(*literal);

    // An internationalized name goes to the resolver in its ASCII form.
    QByteArray ascii = QUrl::toAce(host);
    if (ascii.isEmpty())
        ascii = host.toUtf8();
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(ascii.constData(), nullptr, &hints, &found) != 0 || found == nullptr)
        return std::nullopt;
    const quint32 result = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return result;
}

Outcome ping(const QString& address, SocketKind kind, int timeoutMs)
{
    Outcome outcome;
    const std::optional<quint32> target = resolveIPv4(address);
    if (!target)
        return outcome;

    SocketKind used = kind;
    int fd = -1;
    if (kind == SocketKind::Automatic) {
        used = SocketKind::Raw;
        fd = openSocket(used);
        if (fd < 0 && (errno == EPERM || errno == EACCES)) {
            used = SocketKind::Datagram;
            fd = openSocket(used);
        }
    } else {
        fd = openSocket(kind);
    }
    if (fd < 0)
        return outcome;
    const SocketHandle socket(fd);
    outcome.socketUsed = used;

    const int ttl = kTimeToLive;
    ::setsockopt(fd, IPPROTO_IP, IP_TTL, &ttl, sizeof ttl);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = *target;
    const QByteArray request = buildRequest(quint16(::getpid() & 0xFFFF), millisecondTick());
    if (::sendto(fd, request.constData(), size_t(request.size()), 0,
                 reinterpret_cast<const sockaddr*>(&to), sizeof to) != request.size())
        return outcome;
    outcome.request = request;

    const bool hasIpHeader = used == SocketKind::Raw;
    const QDeadlineTimer deadline(timeoutMs);
    std::array<char, 65536> buffer{};
    for (;;) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0)
            return outcome;
        pollfd pfd{fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, int(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return outcome;
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        const ssize_t got = ::recvfrom(fd, buffer.data(), buffer.size(), MSG_DONTWAIT,
                                       reinterpret_cast<sockaddr*>(&from), &fromLen);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            return outcome;
        }
        switch (judgeDatagram(QByteArrayView(buffer.data(), got), hasIpHeader)) {
        case Verdict::Reply:
            // A raw socket sees every echo on the host, so an echo from
            // another address (a ping to another node running at the same
            // time) must not count as this node's answer.
            if (from.sin_addr.s_addr != *target)
                continue;
            outcome.answered = true;
            return outcome;
        case Verdict::Skip:
            continue;
        case Verdict::TooLong:
        case Verdict::TooShort:
        case Verdict::ErrorReply:
        case Verdict::NonEcho:
            return outcome;
        }
    }
}

} // namespace IcmpEcho

bool PingAddress(const QString& address)
{
    return IcmpEcho::ping(address).answered;
}

QThreadPool* pingThreadPool()
{
    // Never destroyed on purpose: the global pool is waited for when the
    // program ends, and a ping stuck in name resolution would keep a closed
    // program alive unseen.
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(4);
        return p;
    }();
    return pool;
}

QFuture<bool> pingAddressAsync(const QString& address)
{
    return QtConcurrent::run(pingThreadPool(), &PingAddress, address);
}
