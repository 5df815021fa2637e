#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFuture>
#include <QString>

#include <optional>

class QThreadPool;

// One ICMP echo request ("ping") to a cluster node, with a one-second wait.
// The node list uses it to tell the user whether a node's address answers.
namespace IcmpEcho {

// Every request carries this sequence number (bytes A1 0D on the wire).
constexpr quint16 kSequence = 3489;
constexpr int kRequestSize = 16;
// The reply buffer: a 20-byte IPv4 header and a 16-byte ICMP message.
constexpr int kReceiveBufferSize = 36;
constexpr int kIpHeaderSize = 20;
constexpr int kTimeToLive = 128;
constexpr int kTimeoutMs = 1000;

// What one received datagram means for the ping that is waiting.
enum class Verdict
{
    Reply,      // an echo with our sequence: the address answered
    Skip,       // not ours; keep waiting
    TooLong,    // larger than the reply buffer: the ping fails
    TooShort,   // "Not enough bytes received": the ping fails
    ErrorReply, // an ICMP error about our request: the ping fails
    NonEcho,    // "Non-echo type response received": the ping fails
};

enum class SocketKind
{
    Automatic, // raw where the system allows it, else the datagram socket
    Raw,       // SOCK_RAW: replies carry the IPv4 header; needs privilege
    Datagram,  // Linux's unprivileged ICMP socket: no IP header, the kernel owns the identifier
};

// Internet checksum (RFC 1071) of the bytes, ready to be stored in the
// message in the same byte order as the bytes were summed (native order).
quint16 checksum(QByteArrayView bytes);

// The 16-byte echo request: type 8, code 0, checksum, identifier and
// sequence little-endian, then the 64-bit millisecond tick little-endian.
QByteArray buildRequest(quint16 identifier, quint64 tickMs);

// Judges one received datagram. With hasIpHeader the datagram starts with
// the IPv4 header (raw socket); without, it is the bare ICMP message
// (datagram socket), and the size limit is what the buffer leaves after a
// 20-byte header.
Verdict judgeDatagram(QByteArrayView datagram, bool hasIpHeader);

// "LOCALHOST" (any case) is 127.0.0.1; a dotted IPv4 address is taken as
// it is; any other name goes to the system resolver for IPv4 and the first
// address is used. The address comes back in network byte order.
std::optional<quint32> resolveIPv4(const QString& host);

struct Outcome
{
    bool answered = false;
    SocketKind socketUsed = SocketKind::Automatic; // Automatic: no socket was opened
    QByteArray request;                            // the bytes sent, empty when none were
};

// The whole ping with its details; PingAddress() is this reduced to a bool.
Outcome ping(const QString& address, SocketKind kind = SocketKind::Automatic,
             int timeoutMs = kTimeoutMs);

} // namespace IcmpEcho

// True only when the address answered one echo request within 1000 ms.
// Blocks the calling thread: call it off the UI thread.
bool PingAddress(const QString& address);

// PingAddress on the global thread pool.
// The threads pings run on; the end of the program does not wait for them.
QThreadPool* pingThreadPool();

QFuture<bool> pingAddressAsync(const QString& address);
