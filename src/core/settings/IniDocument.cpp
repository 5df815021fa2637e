#include "settings/IniDocument.h"

#include "text/TextDecoding.h"

#include <QStringEncoder>

namespace {

IniDocument::Encoding encodingOf(const QByteArray& bytes)
{
    using Encoding = IniDocument::Encoding;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Encoding::Utf8Bom;
    if (bytes.startsWith("\xFF\xFE"))
        return Encoding::Utf16Le;
    if (bytes.startsWith("\xFE\xFF"))
        return Encoding::Utf16Be;
    if (!TextDecoding::isValidUtf8(bytes))
        return Encoding::Windows1252;
    return Encoding::Utf8;
}

qsizetype markSize(IniDocument::Encoding encoding)
{
    switch (encoding) {
    case IniDocument::Encoding::Utf8Bom:
        return 3;
    case IniDocument::Encoding::Utf16Le:
    case IniDocument::Encoding::Utf16Be:
        return 2;
    default:
        return 0;
    }
}

bool isUtf16(IniDocument::Encoding encoding)
{
    return encoding == IniDocument::Encoding::Utf16Le ||
           encoding == IniDocument::Encoding::Utf16Be;
}

QString decodeText(QByteArrayView bytes, IniDocument::Encoding encoding)
{
    switch (encoding) {
    case IniDocument::Encoding::Utf8:
    case IniDocument::Encoding::Utf8Bom:
        return TextDecoding::decodeUnmarked(bytes, QStringConverter::Utf8);
    case IniDocument::Encoding::Utf16Le:
        return TextDecoding::decodeUnmarked(bytes, QStringConverter::Utf16LE);
    case IniDocument::Encoding::Utf16Be:
        return TextDecoding::decodeUnmarked(bytes, QStringConverter::Utf16BE);
    case IniDocument::Encoding::Windows1252:
        return TextDecoding::fromWindows1252(bytes.toByteArray());
    }
    return {};
}

QByteArray encodeText(const QString& text, IniDocument::Encoding encoding)
{
    switch (encoding) {
    case IniDocument::Encoding::Utf8:
    case IniDocument::Encoding::Utf8Bom:
        return text.toUtf8();
    case IniDocument::Encoding::Utf16Le:
        return QStringEncoder(QStringConverter::Utf16LE).encode(text);
    case IniDocument::Encoding::Utf16Be:
        return QStringEncoder(QStringConverter::Utf16BE).encode(text);
    case IniDocument::Encoding::Windows1252:
        return TextDecoding::toWindows1252(text);
    }
    return {};
}

// "[Node]" -> "Node"; none for a line that opens no section.
std::optional<QString> sectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

// "Elemento=GB7DJK" -> "Elemento"; empty for comments and other lines.
QString keyOf(const QString& line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0 || line.trimmed().startsWith(QLatin1Char(';')))
        return {};
    return line.left(eq).trimmed();
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A line break inside a value would end the line and turn the rest into a
// line of its own.
QString singleLine(QString value)
{
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

} // namespace

IniDocument::IniDocument(QByteArray bytes)
    : m_bytes(std::move(bytes)), m_encoding(encodingOf(m_bytes)), m_bodyStart(markSize(m_encoding))
{
    const qsizetype n = m_bytes.size();
    const auto* p = reinterpret_cast<const uchar*>(m_bytes.constData());
    const qsizetype width = isUtf16(m_encoding) ? 2 : 1;
    auto unitAt = [&](qsizetype i) -> char16_t {
        if (m_encoding == Encoding::Utf16Le)
            return char16_t(p[i] | (p[i + 1] << 8));
        if (m_encoding == Encoding::Utf16Be)
            return char16_t((p[i] << 8) | p[i + 1]);
        return p[i];
    };
    qsizetype lineBegin = m_bodyStart;
    auto addLine = [&](qsizetype end, qsizetype next, const QString& lineEnd) {
        Line line;
        line.begin = lineBegin;
        line.end = end;
        line.next = next;
        line.content = decodeText(QByteArrayView(p + lineBegin, end - lineBegin), m_encoding);
        line.lineEnd = lineEnd;
        line.textBegin = m_text.size();
        line.textEnd = line.textBegin + line.content.size();
        line.textNext = line.textEnd + lineEnd.size();
        m_text += line.content + lineEnd;
        m_lines.append(line);
        lineBegin = next;
    };
    qsizetype i = m_bodyStart;
    while (i + width <= n) {
        const char16_t u = unitAt(i);
        if (u == u'\n') {
            addLine(i, i + width, QStringLiteral("\n"));
        } else if (u == u'\r') {
            if (i + 2 * width <= n && unitAt(i + width) == u'\n') {
                addLine(i, i + 2 * width, QStringLiteral("\r\n"));
                i += width;
            } else {
                addLine(i, i + width, QStringLiteral("\r"));
            }
        }
        i += width;
    }
    // A last line without a line end (in UTF-16 also an odd byte left over).
    if (lineBegin < n)
        addLine(n, n, QString());
}

QString IniDocument::text() const
{
    return m_text;
}

qsizetype IniDocument::findSection(const QString& section) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const std::optional<QString> name = sectionName(m_lines[i].content);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

qsizetype IniDocument::sectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < m_lines.size() && !sectionName(m_lines[i].content))
        ++i;
    return i;
}

QString IniDocument::newLineEnd() const
{
    // As Windows writes, unless the file plainly uses another line end.
    for (const char* kind : {"\r\n", "\n", "\r"}) {
        for (const Line& line : m_lines) {
            if (line.lineEnd == QLatin1String(kind))
                return line.lineEnd;
        }
    }
    return QStringLiteral("\r\n");
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return std::nullopt;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const QString& line = m_lines[i].content;
        if (sameName(keyOf(line), key))
            return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    }
    return std::nullopt;
}

QList<IniDocument::Key> IniDocument::keys() const
{
    QList<Key> keys;
    std::optional<QString> section;
    for (const Line& line : m_lines) {
        if (const std::optional<QString> name = sectionName(line.content)) {
            section = name;
            continue;
        }
        const QString key = keyOf(line.content);
        if (section && !key.isEmpty())
            keys.append({*section, key});
    }
    return keys;
}

QByteArray IniDocument::withValue(const QString& section, const QString& key,
                                  const QString& value) const
{
    const QString entry = key + QLatin1Char('=') + singleLine(value);
    const QString br = newLineEnd();

    // The change: the bytes [from, to) give way to the text insert; in text()
    // the same place is [textFrom, textTo).
    qsizetype from = m_bytes.size();
    qsizetype to = from;
    qsizetype textFrom = m_text.size();
    qsizetype textTo = textFrom;
    QString insert;

    const qsizetype header = findSection(section);
    if (header < 0) {
        const bool openLine = !m_lines.isEmpty() && m_lines.last().lineEnd.isEmpty();
        const QString heading = QLatin1Char('[') + section + QLatin1Char(']');
        insert = openLine ? br + heading + br + entry : heading + br + entry + br;
    } else {
        const qsizetype end = sectionEnd(header);
        qsizetype found = -1;
        qsizetype lastNonBlank = header;
        for (qsizetype i = header + 1; i < end; ++i) {
            if (found < 0 && sameName(keyOf(m_lines[i].content), key))
                found = i;
            if (!m_lines[i].content.trimmed().isEmpty())
                lastNonBlank = i;
        }
        if (found >= 0) {
            const Line& line = m_lines[found];
            from = line.begin;
            to = line.end;
            textFrom = line.textBegin;
            textTo = line.textEnd;
            insert = entry;
        } else {
            const Line& line = m_lines[lastNonBlank];
            const bool openLine = line.lineEnd.isEmpty();
            from = to = openLine ? line.end : line.next;
            textFrom = textTo = openLine ? line.textEnd : line.textNext;
            insert = openLine ? br + entry : entry + br;
        }
    }

    const QString expected = m_text.left(textFrom) + insert + m_text.mid(textTo);
    const QByteArray spliced = m_bytes.left(from) + encodeText(insert, m_encoding) + m_bytes.mid(to);
    if (IniDocument(spliced).text() == expected)
        return spliced;
    // The encoding cannot carry the new text, or the new bytes would be read
    // in another encoding: a mark settles it for good. UTF-8 where it carries
    // the whole text, else UTF-16, which also keeps a lone half of a
    // surrogate pair that a UTF-16 file may hold.
    const QByteArray utf8 = QByteArray("\xEF\xBB\xBF") + expected.toUtf8();
    if (IniDocument(utf8).text() == expected)
        return utf8;
    return QByteArray("\xFF\xFE") + encodeText(expected, Encoding::Utf16Le);
}
