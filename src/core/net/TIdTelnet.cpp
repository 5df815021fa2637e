#include "net/TIdTelnet.h"

#include "net/HostAddress.h"
#include "net/SocketErrors.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// One read hands at most this much to the codec, so a burst from the node
// still arrives as chunks of bounded size.
constexpr qint64 kMaxRead = 32768;

// What the socket may hold for us while a handler runs.
constexpr qint64 kReadBuffer = 65536;

// A socket whose written bytes cannot leave (the node stopped reading) is
// given this long after Disconnect before it is dropped.
constexpr int kLingerMs = 30000;

// What may wait to be written to the node. A node that keeps asking for
// options and never reads the answers would otherwise pile them up in
// memory; past this the session ends as a lost connection.
constexpr qint64 kMaxUnwritten = 1024 * 1024;

// A socket we let go of may still be inside one of its own signals further
// up the stack: the handler of a chunk opened a message box, and the box's
// event loop runs on above readyRead. deleteLater called in there deletes
// it in there, and readyRead would return into a freed socket. So each
// slot of ours marks its socket as in use, and a socket retired meanwhile
// is deleted only when the outermost of them has returned.
constexpr char kInUse[] = "marvixInUse";
constexpr char kRetired[] = "marvixRetired";

class SocketInUse
{
public:
    explicit SocketInUse(QTcpSocket* socket) : m_socket(socket)
    {
        if (m_socket)
            m_socket->setProperty(kInUse, m_socket->property(kInUse).toInt() + 1);
    }
    ~SocketInUse()
    {
        if (!m_socket)
            return;
        const int depth = m_socket->property(kInUse).toInt() - 1;
        m_socket->setProperty(kInUse, depth);
        // From this frame, the deletion waits for the event loop the signal
        // came from.
        if (depth == 0 && m_socket->property(kRetired).toBool())
            m_socket->deleteLater();
    }
    SocketInUse(const SocketInUse&) = delete;
    SocketInUse& operator=(const SocketInUse&) = delete;

private:
    QPointer<QTcpSocket> m_socket;
};

void retireSocket(QTcpSocket* socket)
{
    if (socket->property(kInUse).toInt() == 0) {
        // At most inside one of its own signals, from the event loop the
        // signal came from: deleted once it has returned.
        socket->deleteLater();
        return;
    }
    // It outlives its client if need be, and the last of our slots above it
    // deletes it.
    socket->setParent(nullptr);
    socket->setProperty(kRetired, true);
}

} // namespace

TIdTelnet::TIdTelnet(QObject* parent) : QObject(parent) {}

TIdTelnet::~TIdTelnet()
{
    Disconnect();
}

bool TIdTelnet::Connected() const
{
    if (m_state == State::Connected)
        return m_socket && m_socket->state() != QAbstractSocket::UnconnectedState;
    // The node has gone, but what it sent before leaving is still being
    // handed out.
    return m_state == State::PeerGone && m_peerClosedPending;
}

void TIdTelnet::failLater(const QString& message)
{
    // Only reports: whatever connection exists stays as it is.
    const quint64 attempt = m_attempt;
    QMetaObject::invokeMethod(
        this,
        [this, attempt, message] {
            if (attempt == m_attempt)
                emit connectFinished(false, message);
        },
        Qt::QueuedConnection);
}

void TIdTelnet::Connect()
{
    if (m_state == State::Resolving || m_state == State::Connecting || Connected()) {
        failLater(QStringLiteral("Already connected."));
        return;
    }
    if (m_host.isEmpty()) {
        failLater(QStringLiteral("A Host is required"));
        return;
    }
    if (m_port == 0) {
        failLater(QStringLiteral("A Port is required"));
        return;
    }

    dropConnectAttempt(true);
    if (m_socket)
        dropSocket();
    m_chunks.clear();
    m_peerClosedPending = false;
    m_iamTelnet = false;
    m_overflow = false;
    m_codec.reset();
    m_codec.setTerminal(m_terminal);
    m_state = State::Resolving;
    const quint64 attempt = ++m_attempt;
    const QString host = m_host;
    if (m_connectTimeLimitMs > 0) {
        QTimer::singleShot(m_connectTimeLimitMs, this, [this, attempt] {
            if (attempt == m_attempt)
                onConnectTimeLimit();
        });
    }

    // The work starts from the event loop so that no outcome, not even an
    // immediate failure of the socket, is reported from inside Connect().
    QMetaObject::invokeMethod(
        this,
        [this, attempt, host] {
            if (attempt != m_attempt)
                return;
            if (const std::optional<quint32> literal = HostAddress::literalIPv4(host)) {
                startConnect(*literal);
                return;
            }
            m_lookupId = QHostInfo::lookupHost(host, this, [this, attempt](const QHostInfo& info) {
                if (attempt != m_attempt)
                    return;
                m_lookupId = -1;
                for (const QHostAddress& a : info.addresses()) {
                    if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                        startConnect(a.toIPv4Address());
                        return;
                    }
                }
                // Every failure of the resolver, a temporary one included,
                // reads as "Host not found." to the user.
                finishConnect(false, SocketErrors::message(SocketErrors::kHostNotFound));
            });
        },
        Qt::QueuedConnection);
}

// A node whose address drops the connection requests never answers them;
// the system would wait two minutes and more.
void TIdTelnet::onConnectTimeLimit()
{
    if (m_state != State::Resolving && m_state != State::Connecting)
        return;
    // Whatever of the attempt is still under way reports nothing more.
    ++m_attempt;
    if (m_lookupId != -1) {
        QHostInfo::abortHostLookup(m_lookupId);
        m_lookupId = -1;
    }
    finishConnect(false, SocketErrors::message(SocketErrors::kTimedOut));
}

// The connect is made here rather than by QTcpSocket: a node that accepts,
// sends its lines and resets the connection before the connect's outcome
// has been looked at makes QTcpSocket quietly connect a second time, and
// the session then sits on a connection the node never serves, looking
// alive. Here the outcome is read once (SO_ERROR); a connection the node
// has already reset still counts as made, and the socket then finds the
// reset, after whatever the node sent before it, as it reads.
void TIdTelnet::startConnect(quint32 ipv4)
{
    m_state = State::Connecting;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        finishConnect(false, SocketErrors::message(SocketErrors::fromErrno(errno)));
        return;
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(m_port);
    addr.sin_addr.s_addr = htonl(ipv4);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0 &&
        errno != EINPROGRESS) {
        const int err = errno;
        ::close(fd);
        finishConnectLater(SocketErrors::message(SocketErrors::fromErrno(err)));
        return;
    }
    m_connectFd = fd;
    m_connectNotifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Write, this);
    connect(m_connectNotifier, &QSocketNotifier::activated, this, &TIdTelnet::onConnectOutcome);
}

void TIdTelnet::onConnectOutcome()
{
    const int fd = m_connectFd;
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0)
        err = errno;
    dropConnectAttempt(false);
    if (err == EINPROGRESS || err == EALREADY) {
        // Not decided yet after all: keep waiting.
        m_connectFd = fd;
        m_connectNotifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Write, this);
        connect(m_connectNotifier, &QSocketNotifier::activated, this,
                &TIdTelnet::onConnectOutcome);
        return;
    }
    if (err != 0 && err != ECONNRESET && err != EPIPE) {
        ::close(fd);
        finishConnect(false, SocketErrors::message(SocketErrors::fromErrno(err)));
        return;
    }
    m_socket = new QTcpSocket(this);
    m_socket->setReadBufferSize(kReadBuffer);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &TIdTelnet::onSocketError);
    connect(m_socket, &QTcpSocket::stateChanged, this, &TIdTelnet::onSocketStateChanged);
    connect(m_socket, &QTcpSocket::readyRead, this, &TIdTelnet::onReadyRead);
    if (!m_socket->setSocketDescriptor(qintptr(fd), QAbstractSocket::ConnectedState)) {
        ::close(fd);
        finishConnect(false, SocketErrors::message(SocketErrors::fromQt(
                                 m_socket->error(), m_socket->errorString())));
        return;
    }
    onSocketConnected();
    // A reset that came before this point left the descriptor readable; the
    // socket's notifier reports it from the event loop, and this read makes
    // sure nothing waits on it.
    QTimer::singleShot(0, this, [this] {
        if (m_state == State::Connected && m_socket && !m_paused)
            m_socket->waitForReadyRead(0);
    });
}

// An outcome known before Connect returns is still reported from the event
// loop, as every outcome is.
void TIdTelnet::finishConnectLater(const QString& message)
{
    const quint64 attempt = m_attempt;
    QMetaObject::invokeMethod(
        this,
        [this, attempt, message] {
            if (attempt == m_attempt && m_state == State::Connecting)
                finishConnect(false, message);
        },
        Qt::QueuedConnection);
}

void TIdTelnet::dropConnectAttempt(bool closeDescriptor)
{
    if (m_connectNotifier) {
        m_connectNotifier->setEnabled(false);
        m_connectNotifier->deleteLater();
        m_connectNotifier = nullptr;
    }
    if (closeDescriptor && m_connectFd >= 0)
        ::close(m_connectFd);
    m_connectFd = -1;
}

void TIdTelnet::finishConnect(bool ok, const QString& message)
{
    if (ok) {
        m_state = State::Connected;
    } else {
        dropConnectAttempt(true);
        dropSocket();
        m_state = State::Idle;
    }
    QPointer<TIdTelnet> self(this);
    emit connectFinished(ok, message);
    if (self)
        drain();
}

void TIdTelnet::onSocketConnected()
{
    if (m_state == State::Connecting)
        finishConnect(true, {});
}

void TIdTelnet::onSocketError()
{
    const SocketInUse inUse(m_socket);
    if (m_state == State::Connecting && m_socket)
        finishConnect(false, SocketErrors::message(
                                 SocketErrors::fromQt(m_socket->error(), m_socket->errorString())));
}

void TIdTelnet::onSocketStateChanged()
{
    const SocketInUse inUse(m_socket);
    if (m_state == State::Connected && m_socket &&
        m_socket->state() == QAbstractSocket::UnconnectedState)
        onPeerGone();
}

void TIdTelnet::onReadyRead()
{
    // A handler that runs a nested event loop (a message box) lets the
    // socket buffer more bytes, but the socket raises no new readyRead for
    // them: read again until nothing is left. While reading is paused,
    // nothing is read here; the resume reads on.
    if (m_paused || m_draining)
        return;
    const SocketInUse inUse(m_socket);
    QPointer<TIdTelnet> self(this);
    while (self && m_state == State::Connected && m_socket) {
        readAvailable();
        drain();
        if (!self || !m_socket || m_socket->bytesAvailable() == 0)
            break;
    }
}

void TIdTelnet::readAvailable()
{
    // While reading is paused nothing more is read: the socket's bounded
    // buffer fills and TCP holds the node back, instead of the stream piling
    // up in memory behind an open message box.
    if (!m_socket || m_paused)
        return;
    bool replied = false;
    while (m_socket->isOpen() && m_socket->bytesAvailable() > 0) {
        const QByteArray input = m_socket->read(kMaxRead);
        if (input.isEmpty())
            break;
        emit received();
        const QList<TelnetCodec::Event> events = m_codec.feed(input);
        if (m_codec.sawIac())
            m_iamTelnet = true;
        for (const TelnetCodec::Event& e : events) {
            if (e.kind == TelnetCodec::Event::Kind::Data) {
                m_chunks.enqueue(e.bytes);
            } else if (m_socket->state() == QAbstractSocket::ConnectedState && !m_overflow) {
                m_socket->write(e.bytes);
                replied = true;
            }
        }
    }
    if (replied)
        m_socket->flush();
    guardUnwritten();
}

void TIdTelnet::guardUnwritten()
{
    if (m_overflow || !m_socket || m_socket->bytesToWrite() <= kMaxUnwritten)
        return;
    // Nothing more is written; the socket is dropped from the event loop,
    // not from inside the read that found it, and its end then reads as the
    // node's own: the designed lines, once.
    m_overflow = true;
    QPointer<QTcpSocket> socket(m_socket);
    QMetaObject::invokeMethod(
        this,
        [this, socket] {
            if (socket && socket == m_socket && m_state == State::Connected)
                socket->abort();
        },
        Qt::QueuedConnection);
}

void TIdTelnet::onPeerGone()
{
    // Whatever the node sent before it left is handed out first.
    readAvailable();
    m_state = State::PeerGone;
    m_peerClosedPending = true;
    drain();
}

void TIdTelnet::drain()
{
    if (m_draining)
        return;
    QPointer<TIdTelnet> self(this);
    m_draining = true;
    for (;;) {
        while (!m_paused && !m_chunks.isEmpty()) {
            const QByteArray chunk = m_chunks.dequeue();
            emit OnDataAvailable(this, chunk);
            if (!self)
                return;
        }
        if (m_paused)
            break;
        // What the socket kept back while the receiver was busy.
        readAvailable();
        if (m_chunks.isEmpty())
            break;
    }
    m_draining = false;
    if (m_peerClosedPending && !m_paused && m_chunks.isEmpty()) {
        m_peerClosedPending = false;
        m_state = State::Idle;
        dropSocket();
        emit peerClosed();
    }
}

void TIdTelnet::setReadingPaused(bool paused)
{
    if (m_paused == paused)
        return;
    m_paused = paused;
    if (paused)
        return;
    // From the event loop: the receiver that resumes is usually still inside
    // the delivery of a chunk.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_paused)
                return;
            if (m_state == State::Connected)
                onReadyRead();
            else
                drain();
        },
        Qt::QueuedConnection);
}

void TIdTelnet::dropSocket()
{
    if (!m_socket)
        return;
    QTcpSocket* s = m_socket;
    m_socket = nullptr;
    disconnect(s, nullptr, this, nullptr);
    s->abort();
    retireSocket(s);
}

void TIdTelnet::SendString(const QString& s)
{
    if (m_state != State::Connected || !m_socket ||
        m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    if (m_overflow)
        return;
    m_socket->write(TelnetCodec::encodeForSending(s, m_iamTelnet));
    m_socket->flush();
    guardUnwritten();
}

void TIdTelnet::Disconnect()
{
    if (m_state == State::Idle && !m_socket)
        return;
    ++m_attempt;
    if (m_lookupId != -1) {
        QHostInfo::abortHostLookup(m_lookupId);
        m_lookupId = -1;
    }
    m_chunks.clear();
    m_peerClosedPending = false;
    m_state = State::Idle;
    dropConnectAttempt(true);
    if (!m_socket)
        return;

    QTcpSocket* s = m_socket;
    m_socket = nullptr;
    disconnect(s, nullptr, this, nullptr);
    s->setParent(nullptr);
    if (s->state() == QAbstractSocket::ConnectedState) {
        s->flush();
        if (s->bytesToWrite() == 0) {
            // Send our FIN now, then empty the receive queue: closing a
            // socket with unread bytes would make the kernel answer with a
            // reset, and the node would not see a clean end of stream.
            const int fd = int(s->socketDescriptor());
            ::shutdown(fd, SHUT_WR);
            char sink[4096];
            while (::recv(fd, sink, sizeof sink, MSG_DONTWAIT) > 0) {
            }
        }
    }
    s->disconnectFromHost();
    if (s->state() == QAbstractSocket::UnconnectedState) {
        retireSocket(s);
        return;
    }
    // Bytes still wait to be written: the socket closes itself once they are
    // out, or gives up after a while.
    connect(s, &QAbstractSocket::disconnected, s, [s] { retireSocket(s); });
    QTimer::singleShot(kLingerMs, s, [s] {
        s->abort();
        retireSocket(s);
    });
}
