#include "settings/IniFile.h"

#include "settings/AtomicFile.h"
#include "settings/BoundedFile.h"
#include "settings/IniDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// None when the file exists but cannot be read (not a regular file, or over
// its limit); a missing file is empty.
std::optional<IniDocument> readDocument(const QString& path)
{
    const BoundedFile::Result file = BoundedFile::read(path, BoundedFile::kSettingsMaxBytes);
    if (file.status == BoundedFile::Status::Missing)
        return IniDocument();
    if (file.status != BoundedFile::Status::Read)
        return std::nullopt;
    return IniDocument(file.bytes);
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& defaultValue) const
{
    const std::optional<IniDocument> document = readDocument(m_path);
    if (!document)
        return defaultValue;
    return document->value(section, key).value_or(defaultValue);
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
    return writeStrings(section, {{key, value}}, error);
}

bool IniFile::writeStrings(const QString& section,
                           const QList<std::pair<QString, QString>>& values, QString* error) const
{
    auto fail = [&] {
        if (error)
            *error = writeErrorText(m_path);
        return false;
    };

    std::optional<IniDocument> document = readDocument(m_path);
    if (!document)
        return fail();
    QByteArray bytes = document->bytes();
    for (const auto& [key, value] : values) {
        bytes = document->withValue(section, key, value);
        document = IniDocument(bytes);
    }

    // A failed write leaves the old file whole.
    if (!AtomicFile::write(m_path, bytes))
        return fail();
    return true;
}

bool IniFile::writeInteger(const QString& section, const QString& key, int value,
                           QString* error) const
{
    return writeString(section, key, QString::number(value), error);
}
