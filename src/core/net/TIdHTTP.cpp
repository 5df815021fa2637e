#include "net/TIdHTTP.h"

#include "net/CurlFailure.h"
#include "net/EIdHTTPProtocolException.h"
#include "net/HttpBodyDecoding.h"
#include "net/HttpRequest.h"
#include "net/TIdSSLIOHandlerSocketOpenSSL.h"

#include <QBuffer>
#include <QIODevice>

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace {

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

long curlTlsVersion(TIdSSLVersion v)
{
    switch (v) {
    case TIdSSLVersion::sslvTLSv1:
        return CURL_SSLVERSION_TLSv1_0;
    case TIdSSLVersion::sslvTLSv1_1:
        return CURL_SSLVERSION_TLSv1_1;
    default:
        return CURL_SSLVERSION_TLSv1_2;
    }
}

long curlTlsMaxVersion(TIdSSLVersion v)
{
    switch (v) {
    case TIdSSLVersion::sslvTLSv1:
        return CURL_SSLVERSION_MAX_TLSv1_0;
    case TIdSSLVersion::sslvTLSv1_1:
        return CURL_SSLVERSION_MAX_TLSv1_1;
    default:
        return CURL_SSLVERSION_MAX_TLSv1_2;
    }
}

// What arrives while one transfer runs. libcurl hands every header line of
// every answer (a 100 Continue included) to onHeader, so the last status
// line seen is the final one.
struct Transfer
{
    QIODevice* stream = nullptr;
    QByteArray statusLine;
    int code = 0;
    QByteArray contentType;
    QByteArray errorBody;
    bool writeFailed = false;
    qint64 maxBody = 0; // 0: no limit
    qint64 received = 0;
    bool tooBig = false;
    bool statusOnly = false;
    bool stoppedAtStatus = false;

    bool success() const { return code >= 200 && code < 300; }
};

QByteArray withoutLineEnd(QByteArray line)
{
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return line;
}

// "HTTP/1.1 404 Not Found" -> 404
int statusCodeOf(const QByteArray& statusLine)
{
    const QList<QByteArray> parts = statusLine.split(' ');
    return parts.size() >= 2 ? parts[1].toInt() : 0;
}

size_t onHeader(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const size_t length = size * count;
    const QByteArray line(data, qsizetype(length));
    if (line.startsWith("HTTP/")) {
        t->statusLine = withoutLineEnd(line);
        t->code = statusCodeOf(t->statusLine);
        t->contentType.clear();
        t->errorBody.clear();
        // A caller that only asks whether the host answers has its answer
        // here ("HTTP/1.1 200 OK"); the rest may never end, so stop now.
        // An interim "HTTP/1.1 100 Continue" is not the answer yet.
        if (t->statusOnly && t->code >= 200) {
            t->stoppedAtStatus = true;
            return 0;
        }
    } else if (line.size() >= 13 && line.left(13).toLower() == "content-type:") {
        t->contentType = withoutLineEnd(line.mid(13)).trimmed();
    }
    return length;
}

size_t onBody(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const size_t length = size * count;
    // A body past the caller's limit is not what was asked for: stop reading
    // at once rather than let a host fill memory with an endless answer.
    t->received += qint64(length);
    if (t->maxBody > 0 && t->received > t->maxBody) {
        t->tooBig = true;
        return 0;
    }
    if (!t->success()) {
        // An error page is only shown as text; its first 64 KiB say enough.
        constexpr qsizetype errorBodyLimit = 64 * 1024;
        const qsizetype room = errorBodyLimit - t->errorBody.size();
        if (room > 0)
            t->errorBody.append(data, std::min(room, qsizetype(length)));
        return length;
    }
    if (t->stream->write(data, qint64(length)) != qint64(length)) {
        t->writeFailed = true;
        return 0;
    }
    return length;
}

struct CurlDeleter
{
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct SlistDeleter
{
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

} // namespace

TIdHTTP::TIdHTTP()
{
    initCurlOnce();
}

void TIdHTTP::Get(const QString& url, QIODevice& stream)
{
    m_statusLine.clear();
    m_responseCode = 0;
    m_contentType.clear();

    const HttpRequest request = HttpRequest::fromUrl(url);
    const bool tls = request.isHttps();
    if (tls && !m_ioHandler)
        throw EIdException(QStringLiteral("IOHandler value is not valid"));

    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
        throw EIdException(QStringLiteral("Out of memory"));
    CURL* h = curl.get();

    // libcurl gets only the place to connect to; the request target and the
    // headers are ours, byte for byte, so nothing is re-encoded, squashed or
    // added on the way.
    const QByteArray base = QByteArray(tls ? "https://" : "http://") + request.host.toUtf8() + ':' +
                            QByteArray::number(request.port) + '/';
    std::unique_ptr<curl_slist, SlistDeleter> headers;
    for (const QByteArray& line : request.headerLines())
        headers.reset(curl_slist_append(headers.release(), line.constData()));

    char errorBuffer[CURL_ERROR_SIZE] = {};
    Transfer transfer;
    transfer.stream = &stream;
    transfer.maxBody = m_maxBodyBytes;
    transfer.statusOnly = m_statusLineOnly;

    curl_easy_setopt(h, CURLOPT_URL, base.constData());
    curl_easy_setopt(h, CURLOPT_REQUEST_TARGET, request.target.constData());
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    curl_easy_setopt(h, CURLOPT_PROXY, "");
    curl_easy_setopt(h, CURLOPT_IPRESOLVE, long(CURL_IPRESOLVE_V4));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(m_connectTimeoutMs));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(m_requestTimeoutMs));
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);

    if (tls) {
        const auto range = m_ioHandler->SSLOptions().tlsRange();
        if (!range) {
            throw EIdException(
                QStringLiteral("Error creating SSL context.\r\nno protocols available"));
        }
        curl_easy_setopt(h, CURLOPT_SSLVERSION,
                         curlTlsVersion(range->first) | curlTlsMaxVersion(range->second));
        // The list host may use a self-signed certificate.
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
    }

    const CURLcode result = curl_easy_perform(h);
    m_statusLine = QString::fromLatin1(transfer.statusLine);
    m_responseCode = transfer.code;
    m_contentType = QString::fromLatin1(transfer.contentType);

    if (transfer.stoppedAtStatus) {
        if (transfer.success())
            return;
        throw EIdHTTPProtocolException(m_statusLine, transfer.code, QString());
    }
    if (transfer.tooBig)
        throw EIdException(QStringLiteral("Response body too large"));
    // The server answered with a status that is not a success: that is the
    // error, even when the error page itself broke off on the way.
    if (transfer.code >= 200 && !transfer.success() && !transfer.writeFailed) {
        throw EIdHTTPProtocolException(
            m_statusLine, transfer.code,
            HttpBodyDecoding::decodeBody(transfer.errorBody, m_contentType));
    }
    if (result != CURLE_OK) {
        if (transfer.writeFailed)
            throw EIdException(stream.errorString());
        long osErrno = 0;
        curl_easy_getinfo(h, CURLINFO_OS_ERRNO, &osErrno);
        CurlFailure::raise(CurlFailure::describe(result, osErrno, QString::fromUtf8(errorBuffer)));
    }
    if (!transfer.success()) {
        throw EIdHTTPProtocolException(
            m_statusLine, transfer.code,
            HttpBodyDecoding::decodeBody(transfer.errorBody, m_contentType));
    }
}

QString TIdHTTP::Get(const QString& url)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Get(url, buffer);
    return HttpBodyDecoding::decodeBody(buffer.data(), m_contentType);
}
