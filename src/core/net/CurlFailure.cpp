#include "net/CurlFailure.h"

#include "net/EIdSocketError.h"
#include "net/SocketErrors.h"

#include <curl/curl.h>

namespace CurlFailure {

namespace {

Description socketFailure(int number)
{
    return {Kind::Socket, number, SocketErrors::message(number)};
}

// libcurl prefixes OpenSSL's text with its own tag:
// "OpenSSL/3.0.11: error:0A00042E:SSL routines::tlsv1 alert protocol version"
QString tlsReason(const QString& libraryText)
{
    QString reason = libraryText.trimmed();
    if (reason.startsWith(QLatin1String("OpenSSL/"))) {
        const qsizetype colon = reason.indexOf(QLatin1String(": "));
        if (colon >= 0)
            reason = reason.mid(colon + 2);
    }
    return reason;
}

} // namespace

Description describe(int curlCode, long osErrno, const QString& libraryText)
{
    const QString text = libraryText.isEmpty()
                             ? QString::fromUtf8(curl_easy_strerror(CURLcode(curlCode)))
                             : libraryText;
    switch (curlCode) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return socketFailure(SocketErrors::kHostNotFound);
    case CURLE_COULDNT_CONNECT:
        return socketFailure(osErrno != 0 ? SocketErrors::fromErrno(int(osErrno))
                                          : SocketErrors::kConnectionRefused);
    case CURLE_OPERATION_TIMEDOUT:
        return socketFailure(SocketErrors::kTimedOut);
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return socketFailure(osErrno != 0 ? SocketErrors::fromErrno(int(osErrno))
                                          : SocketErrors::kConnectionReset);
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        // The server hung up before the answer was complete.
        return {Kind::Other, 0, QStringLiteral("Connection Closed Gracefully.")};
    case CURLE_SSL_CONNECT_ERROR:
        return {Kind::Tls, 0, QStringLiteral("Error connecting with SSL.\r\n") + tlsReason(text)};
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
        return {Kind::Tls, 0, QStringLiteral("Error creating SSL context.\r\n") + tlsReason(text)};
    default:
        return {Kind::Other, 0, text};
    }
}

void raise(const Description& failure)
{
    if (failure.kind == Kind::Socket)
        throw EIdSocketError(failure.socketError);
    throw EIdException(failure.message);
}

} // namespace CurlFailure
