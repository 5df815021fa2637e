#pragma once

#include <QString>

// Turns a failed libcurl transfer into the error the program raises:
// socket trouble becomes "Socket Error # n\r\ntext", a refused handshake
// "Error connecting with SSL.\r\n" and the TLS library's reason.
namespace CurlFailure {

enum class Kind
{
    Socket,
    Tls,
    Other,
};

struct Description
{
    Kind kind = Kind::Other;
    int socketError = 0; // Windows Sockets number, for Kind::Socket
    QString message;
};

// curlCode is a CURLcode, osErrno libcurl's CURLINFO_OS_ERRNO, libraryText
// the text libcurl left in its error buffer.
Description describe(int curlCode, long osErrno, const QString& libraryText);

// Raises EIdSocketError for a socket failure, EIdException otherwise.
[[noreturn]] void raise(const Description& failure);

} // namespace CurlFailure
