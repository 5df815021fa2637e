#pragma once

#include <QAbstractSocket>
#include <QString>

// Socket failures are reported the way cluster users know them from the
// Windows world: "Socket Error # 10061\r\nConnection refused." Errors of Qt
// and of POSIX are mapped onto these numbers.
namespace SocketErrors {

constexpr int kInterrupted = 10004;
constexpr int kAccessDenied = 10013;
constexpr int kInvalidArgument = 10022;
constexpr int kTooManyOpenFiles = 10024;
constexpr int kAddressInUse = 10048;
constexpr int kNetworkUnreachable = 10051;
constexpr int kConnectionAborted = 10053;
constexpr int kConnectionReset = 10054;
constexpr int kNoBufferSpace = 10055;
constexpr int kNotConnected = 10057;
constexpr int kShutDown = 10058;
constexpr int kTimedOut = 10060;
constexpr int kConnectionRefused = 10061;
constexpr int kHostDown = 10064;
constexpr int kHostUnreachable = 10065;
constexpr int kHostNotFound = 11001;

// The short text of a Windows Sockets error number; empty for a number
// outside the table.
QString text(int number);

// "Socket Error # 10061\r\nConnection refused."
QString message(int number);

// The Windows Sockets number for a POSIX errno value (ECONNREFUSED → 10061).
int fromErrno(int err);

// The Windows Sockets number for a Qt socket error.
int fromQt(QAbstractSocket::SocketError error, const QString& detail = {});

} // namespace SocketErrors
