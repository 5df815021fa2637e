#include "net/HttpRequest.h"

#include "net/EIdException.h"

namespace {

const char kAccept[] = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
const char kUserAgent[] = "Mozilla/3.0 (compatible; Indy Library)";

int defaultPort(const QString& scheme)
{
    if (scheme == QLatin1String("http"))
        return 80;
    if (scheme == QLatin1String("https"))
        return 443;
    return 0;
}

// The request goes out in ASCII; anything beyond it cannot be sent as is.
QByteArray toAscii(const QString& s)
{
    QByteArray out;
    out.reserve(s.size());
    for (QChar c : s)
        out.append(c.unicode() < 0x80 ? char(c.unicode()) : '?');
    return out;
}

} // namespace

QList<QByteArray> HttpRequest::headerLines() const
{
    QByteArray hostValue = toAscii(host);
    if (port != defaultPort(scheme))
        hostValue += ':' + QByteArray::number(port);
    return {"Host: " + hostValue, QByteArray("Accept: ") + kAccept,
            QByteArray("User-Agent: ") + kUserAgent};
}

QByteArray HttpRequest::bytes() const
{
    QByteArray out = "GET " + target + " HTTP/1.1\r\n";
    for (const QByteArray& line : headerLines())
        out += line + "\r\n";
    out += "\r\n";
    return out;
}

HttpRequest HttpRequest::fromUrl(const QString& url)
{
    HttpRequest r;
    QString rest = url;
    const qsizetype schemeEnd = rest.indexOf(QLatin1String("://"));
    if (schemeEnd >= 0) {
        r.scheme = rest.left(schemeEnd).toLower();
        rest = rest.mid(schemeEnd + 3);
    }

    qsizetype authorityEnd = rest.size();
    for (QChar stop : {QChar('/'), QChar('?'), QChar('#')}) {
        const qsizetype at = rest.indexOf(stop);
        if (at >= 0 && at < authorityEnd)
            authorityEnd = at;
    }
    QString authority = rest.left(authorityEnd);
    QString target = rest.mid(authorityEnd);

    // User name and password have no use here; they are left out.
    const qsizetype at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0)
        authority = authority.mid(at + 1);

    // "[::1]:8080" keeps its brackets in the host.
    const qsizetype closing = authority.lastIndexOf(QLatin1Char(']'));
    const qsizetype colon = authority.lastIndexOf(QLatin1Char(':'));
    QString portText;
    if (colon > closing) {
        portText = authority.mid(colon + 1);
        authority.truncate(colon);
    }
    r.host = authority;

    if (!portText.isEmpty()) {
        bool ok = false;
        r.port = portText.toInt(&ok);
        if (!ok || r.port <= 0 || r.port > 65535)
            throw EIdException(QStringLiteral("Invalid Port: %1").arg(portText));
    } else {
        r.port = defaultPort(r.scheme);
        if (r.port == 0)
            throw EIdException(QStringLiteral("Unknown Protocol"));
    }

    // The fragment names a place inside the page and never leaves the client.
    const qsizetype hash = target.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        target.truncate(hash);
    if (!target.startsWith(QLatin1Char('/')))
        target.prepend(QLatin1Char('/'));
    r.target = toAscii(target);
    return r;
}
