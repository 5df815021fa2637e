#include "net/HttpBodyDecoding.h"

#include "text/TextDecoding.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace HttpBodyDecoding {

namespace {

QString mediaTypeOf(const QString& contentType)
{
    return contentType.section(QLatin1Char(';'), 0, 0).trimmed().toLower();
}

// "text/html; charset=\"utf-8\"" -> "utf-8"
QString charsetParameter(const QString& contentType)
{
    const QStringList parts = contentType.split(QLatin1Char(';'));
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString param = parts[i].trimmed();
        const qsizetype eq = param.indexOf(QLatin1Char('='));
        if (eq < 0 ||
            param.left(eq).trimmed().compare(QLatin1String("charset"), Qt::CaseInsensitive))
            continue;
        QString value = param.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) &&
            value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        return value.trimmed().toLower();
    }
    return {};
}

bool isXml(const QString& mediaType)
{
    return mediaType == QLatin1String("text/xml") ||
           mediaType == QLatin1String("application/xml") ||
           mediaType == QLatin1String("text/xml-external-parsed-entity") ||
           mediaType == QLatin1String("application/xml-external-parsed-entity") ||
           mediaType.endsWith(QLatin1String("+xml"));
}

bool isHtml(const QString& mediaType)
{
    return mediaType == QLatin1String("text/html");
}

// <meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
// <meta charset="utf-8">
QString htmlMetaCharset(const QByteArray& body)
{
    static const QRegularExpression meta(
        QStringLiteral("<meta\\b[^>]*?charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9_.:-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = meta.match(QString::fromLatin1(body));
    return m.hasMatch() ? m.captured(1).toLower() : QString();
}

// <?xml version="1.0" encoding="ISO-8859-1"?>
QString xmlDeclarationCharset(const QByteArray& body)
{
    static const QRegularExpression decl(
        QStringLiteral("^\\s*<\\?xml\\b[^>]*?encoding\\s*=\\s*[\"']([A-Za-z0-9_.:-]+)[\"']"));
    const auto m = decl.match(QString::fromLatin1(body));
    return m.hasMatch() ? m.captured(1).toLower() : QString();
}

QString fromAscii(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out.append(uchar(c) < 0x80 ? QChar(uchar(c)) : QChar('?'));
    return out;
}

} // namespace

QString charsetFor(const QString& contentType, const QByteArray& body)
{
    const QString fromHeader = charsetParameter(contentType);
    if (!fromHeader.isEmpty())
        return fromHeader;

    const QString mediaType = mediaTypeOf(contentType);
    // The answer's own header wins; a declaration inside the body comes
    // next; only then the media type's default.
    QString inBody;
    if (isXml(mediaType))
        inBody = xmlDeclarationCharset(body);
    else if (isHtml(mediaType) || mediaType == QLatin1String("application/xhtml+xml"))
        inBody = htmlMetaCharset(body);
    if (!inBody.isEmpty())
        return inBody;

    if (mediaType.startsWith(QLatin1String("text/")))
        return isXml(mediaType) ? QStringLiteral("us-ascii") : QStringLiteral("iso-8859-1");
    return {};
}

QString decode(const QByteArray& bytes, const QString& charset)
{
    const QString name = charset.toLower();
    if (name == QLatin1String("us-ascii") || name == QLatin1String("ascii"))
        return fromAscii(bytes);
    if (name == QLatin1String("windows-1252") || name == QLatin1String("cp1252"))
        return TextDecoding::fromWindows1252(bytes);

    std::optional<QStringConverter::Encoding> encoding;
    if (name == QLatin1String("utf-8") || name == QLatin1String("utf8"))
        encoding = QStringConverter::Utf8;
    else if (name == QLatin1String("utf-16"))
        encoding = QStringConverter::Utf16;
    else if (name == QLatin1String("utf-16le"))
        encoding = QStringConverter::Utf16LE;
    else if (name == QLatin1String("utf-16be"))
        encoding = QStringConverter::Utf16BE;
    else if (name == QLatin1String("utf-32"))
        encoding = QStringConverter::Utf32;
    else if (name == QLatin1String("utf-32le"))
        encoding = QStringConverter::Utf32LE;
    else if (name == QLatin1String("utf-32be"))
        encoding = QStringConverter::Utf32BE;
    if (!encoding)
        return QString::fromLatin1(bytes); // ISO-8859-1, and everything unknown
    QStringDecoder decoder(*encoding);
    return decoder.decode(bytes);
}

QString decodeBody(const QByteArray& body, const QString& contentType)
{
    return decode(body, charsetFor(contentType, body));
}

} // namespace HttpBodyDecoding
