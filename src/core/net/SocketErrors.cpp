#include "net/SocketErrors.h"

#include <cerrno>
#include <utility>

namespace SocketErrors {

QString text(int number)
{
    static const std::pair<int, const char*> table[] = {
        {10004, "Interrupted system call."},
        {10009, "Bad file number."},
        {10013, "Access denied."},
        {10014, "Buffer fault."},
        {10022, "Invalid argument."},
        {10024, "Too many open files."},
        {10035, "Operation would block."},
        {10036, "Operation now in progress."},
        {10037, "Operation already in progress."},
        {10038, "Socket operation on non-socket."},
        {10039, "Destination address required."},
        {10040, "Message too long."},
        {10041, "Protocol wrong type for socket."},
        {10042, "Bad protocol option."},
        {10043, "Protocol not supported."},
        {10044, "Socket type not supported."},
        {10045, "Operation not supported on socket."},
        {10046, "Protocol family not supported."},
        {10047, "Address family not supported by protocol family."},
        {10048, "Address already in use."},
        {10049, "Cannot assign requested address."},
        {10050, "Network is down."},
        {10051, "Network is unreachable."},
        {10052, "Net dropped connection or reset."},
        {10053, "Software caused connection abort."},
        {10054, "Connection reset by peer."},
        {10055, "No buffer space available."},
        {10056, "Socket is already connected."},
        {10057, "Socket is not connected."},
        {10058, "Cannot send or receive after socket is closed."},
        {10059, "Too many references, cannot splice."},
        {10060, "Connection timed out."},
        {10061, "Connection refused."},
        {10062, "Too many levels of symbolic links."},
        {10063, "File name too long."},
        {10064, "Host is down."},
        {10065, "No route to host."},
        {10066, "Directory not empty"},
        {11001, "Host not found."},
    };
    for (const auto& [n, t] : table) {
        if (n == number)
            return QString::fromLatin1(t);
    }
    return {};
}

QString message(int number)
{
    return QStringLiteral("Socket Error # %1\r\n%2").arg(number).arg(text(number));
}

int fromErrno(int err)
{
    switch (err) {
    case EINTR:
        return 10004;
    case EBADF:
        return 10009;
    case EACCES:
    case EPERM:
        return 10013;
    case EFAULT:
        return 10014;
    case EINVAL:
        return 10022;
    case EMFILE:
    case ENFILE:
        return 10024;
    case EWOULDBLOCK:
        return 10035;
    case EINPROGRESS:
        return 10036;
    case EALREADY:
        return 10037;
    case ENOTSOCK:
        return 10038;
    case EDESTADDRREQ:
        return 10039;
    case EMSGSIZE:
        return 10040;
    case EPROTOTYPE:
        return 10041;
    case ENOPROTOOPT:
        return 10042;
    case EPROTONOSUPPORT:
        return 10043;
    case ESOCKTNOSUPPORT:
        return 10044;
    case EOPNOTSUPP:
        return 10045;
    case EPFNOSUPPORT:
        return 10046;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
        return 10053;
    case ECONNRESET:
    case EPIPE:
        return 10054;
    case ENOBUFS:
        return 10055;
    case EISCONN:
        return 10056;
    case ENOTCONN:
        return 10057;
    case ESHUTDOWN:
        return 10058;
    case ETOOMANYREFS:
        return 10059;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case ELOOP:
        return 10062;
    case ENAMETOOLONG:
        return 10063;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    case ENOTEMPTY:
        return 10066;
    default:
        return 10022;
    }
}

int fromQt(QAbstractSocket::SocketError error, const QString& detail)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return kConnectionRefused;
    case QAbstractSocket::RemoteHostClosedError:
        return kConnectionReset;
    case QAbstractSocket::HostNotFoundError:
        return kHostNotFound;
    case QAbstractSocket::SocketAccessError:
        return kAccessDenied;
    case QAbstractSocket::SocketResourceError:
        return kTooManyOpenFiles;
    case QAbstractSocket::SocketTimeoutError:
        return kTimedOut;
    case QAbstractSocket::AddressInUseError:
        return kAddressInUse;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError:
        return 10045;
    case QAbstractSocket::NetworkError:
        if (detail.contains(QLatin1String("route"), Qt::CaseInsensitive) ||
            detail.contains(QLatin1String("host"), Qt::CaseInsensitive))
            return kHostUnreachable;
        return kNetworkUnreachable;
    default:
        return kInvalidArgument;
    }
}

} // namespace SocketErrors
