#pragma once

#include <QString>

class QIODevice;
class TIdSSLIOHandlerSocketOpenSSL;

// A client for one HTTP(S) GET, made for that request and dropped after it.
// The request carries exactly the headers Host, Accept and User-Agent;
// redirects are not followed; any answer but a success raises
// EIdHTTPProtocolException. Every call blocks until the request has ended.
class TIdHTTP
{
public:
    TIdHTTP();

    // The TLS layer an https URL needs; the caller keeps ownership.
    void setIOHandler(TIdSSLIOHandlerSocketOpenSSL* handler) { m_ioHandler = handler; }
    TIdSSLIOHandlerSocketOpenSSL* IOHandler() const { return m_ioHandler; }

    // No fetch may hold the program forever: 10 s to connect (TLS handshake
    // included) and 30 s for the whole request unless told otherwise.
    void setConnectTimeoutMs(int ms) { m_connectTimeoutMs = ms; }
    void setRequestTimeoutMs(int ms) { m_requestTimeoutMs = ms; }
    int connectTimeoutMs() const { return m_connectTimeoutMs; }
    int requestTimeoutMs() const { return m_requestTimeoutMs; }

    // The most body bytes a request may bring (0: no limit); past it the
    // transfer is cut off and Get raises EIdException.
    void setMaxBodyBytes(qint64 bytes) { m_maxBodyBytes = bytes; }
    // Ends the request as soon as the final status line has arrived; the
    // body is not read. A status that is not a success still raises
    // EIdHTTPProtocolException, with an empty message body.
    void setStatusLineOnly(bool only) { m_statusLineOnly = only; }

    // Writes the body into stream from its current position.
    void Get(const QString& url, QIODevice& stream);
    // The body as text, decoded by its charset.
    QString Get(const QString& url);

    // The answer of the last request: "HTTP/1.1 200 OK", 200.
    QString ResponseText() const { return m_statusLine; }
    int ResponseCode() const { return m_responseCode; }
    QString ContentType() const { return m_contentType; }

private:
    TIdSSLIOHandlerSocketOpenSSL* m_ioHandler = nullptr;
    int m_connectTimeoutMs = 10000;
    int m_requestTimeoutMs = 30000;
    qint64 m_maxBodyBytes = 0;
    bool m_statusLineOnly = false;
    QString m_statusLine;
    int m_responseCode = 0;
    QString m_contentType;
};
