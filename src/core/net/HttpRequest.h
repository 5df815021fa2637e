#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One GET request, taken apart from its URL. Building it is pure, so the
// exact bytes that go on the wire can be checked without a server.
struct HttpRequest
{
    QString scheme; // lower case: "http", "https", or another with a port
    QString host;
    int port = 0;
    // Path and query exactly as the URL holds them; the caller encodes.
    QByteArray target;

    bool isHttps() const { return scheme == QLatin1String("https"); }

    // "Host", "Accept" and "User-Agent", in that order and nothing else:
    // "Host: 127.0.0.1:8443" carries the port only when it is not the
    // scheme's own.
    QList<QByteArray> headerLines() const;

    // The whole request as one write: request line, headers, empty line.
    QByteArray bytes() const;

    // "https://list.example:8443/dx/listadxdolv.txt?m=5#top" gives host
    // "list.example", port 8443, target "/dx/listadxdolv.txt?m=5".
    // Raises EIdException "Unknown Protocol" for a scheme other than http
    // and https that names no port.
    static HttpRequest fromUrl(const QString& url);
};
