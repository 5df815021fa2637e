#include "settings/IniFile.h"

#include "text/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>
#include <QStringList>

namespace {

enum class FileEncoding
{
    Utf8,
    Utf8Bom,
    Utf16Le,
    Utf16Be,
    Windows1252, // no mark and not UTF-8: the ANSI code page
};

struct IniText
{
    QStringList lines;
    QString lineBreak = QStringLiteral("\r\n");
    FileEncoding encoding = FileEncoding::Utf8;
    bool endsWithBreak = true;
};

FileEncoding encodingOf(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return FileEncoding::Utf8Bom;
    if (bytes.startsWith("\xFF\xFE"))
        return FileEncoding::Utf16Le;
    if (bytes.startsWith("\xFE\xFF"))
        return FileEncoding::Utf16Be;
    if (!TextDecoding::isValidUtf8(bytes))
        return FileEncoding::Windows1252;
    return FileEncoding::Utf8;
}

// Lines end in CR LF (as Windows writes them) or LF; a file keeps the kind
// it already has.
IniText splitText(const QByteArray& bytes)
{
    IniText text;
    text.encoding = encodingOf(bytes);
    QString all = TextDecoding::decodeFile(bytes);
    if (all.isEmpty())
        return text;
    if (!all.contains(QLatin1String("\r\n")) && all.contains(QLatin1Char('\n')))
        text.lineBreak = QStringLiteral("\n");
    text.endsWithBreak = all.endsWith(QLatin1Char('\n'));
    all.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.lines = all.split(QLatin1Char('\n'));
    if (text.endsWithBreak)
        text.lines.removeLast();
    return text;
}

std::optional<IniText> readText(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return IniText{};
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return splitText(file.readAll());
}

// "[Node]" -> "Node"; empty optional for a line that opens no section.
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

// "Elemento=GB7DJK" -> key "Elemento"; empty for comments and other lines.
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

// Index of the first line of the first section with that name, -1 if none.
qsizetype findSection(const QStringList& lines, const QString& section)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QString> name = sectionName(lines[i]);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

// One past the last line of the section opened at header.
qsizetype sectionEnd(const QStringList& lines, qsizetype header)
{
    qsizetype i = header + 1;
    while (i < lines.size() && !sectionName(lines[i]))
        ++i;
    return i;
}

QByteArray encode(const QString& text, FileEncoding encoding)
{
    switch (encoding) {
    case FileEncoding::Utf8:
        return text.toUtf8();
    case FileEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case FileEncoding::Utf16Le: {
        QStringEncoder enc(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        return enc.encode(text);
    }
    case FileEncoding::Utf16Be: {
        QStringEncoder enc(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom);
        return enc.encode(text);
    }
    case FileEncoding::Windows1252:
        return TextDecoding::toWindows1252(text);
    }
    return text.toUtf8();
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

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    const std::optional<IniText> text = readText(m_path);
    if (!text)
        return defaultValue;
    const QStringList& lines = text->lines;
    const qsizetype header = findSection(lines, section);
    if (header < 0)
        return defaultValue;
    const qsizetype end = sectionEnd(lines, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (sameName(keyOf(lines[i]), key))
            return lines[i].mid(lines[i].indexOf(QLatin1Char('=')) + 1).trimmed();
    }
    return defaultValue;
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    return parseInteger(readString(section, key)).value_or(defaultValue);
}

std::optional<int> IniFile::parseInteger(const QString& text)
{
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.startsWith(QLatin1Char('-'));
        t.remove(0, 1);
    }
    int base = 10;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        t.remove(0, 2);
    }
    if (t.isEmpty())
        return std::nullopt;
    for (const QChar c : t) {
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const bool hexLetter = (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
                               (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
        if (!digit && !(base == 16 && hexLetter))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 magnitude = t.toLongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    const qint64 value = negative ? -magnitude : magnitude;
    // A hexadecimal value names the 32 bits of the number, as 0xFFFFFFFF = -1.
    if (base == 16 && !negative && magnitude <= 0xFFFFFFFFLL)
        return int(quint32(magnitude));
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return int(value);
}

QString IniFile::writeErrorText(const QString& path)
{
    return QStringLiteral("Unable to write to %1")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value,
                          QString* error) const
{
    auto fail = [&] {
        if (error)
            *error = writeErrorText(m_path);
        return false;
    };

    std::optional<IniText> text = readText(m_path);
    if (!text)
        return fail();
    QStringList& lines = text->lines;
    const QString entry = key + QLatin1Char('=') + singleLine(value);

    const qsizetype header = findSection(lines, section);
    if (header < 0) {
        lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;
    } else {
        const qsizetype end = sectionEnd(lines, header);
        qsizetype found = -1;
        qsizetype lastNonBlank = header;
        for (qsizetype i = header + 1; i < end; ++i) {
            if (found < 0 && sameName(keyOf(lines[i]), key))
                found = i;
            if (!lines[i].trimmed().isEmpty())
                lastNonBlank = i;
        }
        if (found >= 0)
            lines[found] = entry;
        else
            lines.insert(lastNonBlank + 1, entry);
    }

    QString all = lines.join(text->lineBreak);
    if (text->endsWithBreak)
        all += text->lineBreak;

    QSaveFile file(m_path);
    // Where the folder refuses a temporary file but the file itself may be
    // written, write it directly.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    const QByteArray bytes = encode(all, text->encoding);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return fail();
    return true;
}

bool IniFile::writeInteger(const QString& section, const QString& key, int value,
                           QString* error) const
{
    return writeString(section, key, QString::number(value), error);
}
