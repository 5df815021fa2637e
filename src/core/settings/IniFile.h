#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <utility>

// A Windows-style initialization file, read and written the way the
// system's private-profile functions do it:
//
//   [Node]
//   Elemento=GB7DJK
//
// Section and key names match without regard to case; values are not
// quoted. Every call opens the file afresh and nothing is cached, so two
// objects on the same path always agree.
class IniFile
{
public:
    explicit IniFile(QString path);

    QString path() const { return m_path; }

    // The value, or defaultValue when the file, the section or the key is
    // missing.
    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue = {}) const;

    // Decimal, or hexadecimal after "0x"; anything else gives defaultValue.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;

    // Sets the key in place, keeping every other line and section byte for
    // byte (see IniDocument); adds the key or the section when missing and
    // creates the file when it does not exist. On failure returns false and, when error is given, sets it to
    // "Unable to write to <full path>".
    bool writeString(const QString& section, const QString& key, const QString& value,
                     QString* error = nullptr) const;
    bool writeInteger(const QString& section, const QString& key, int value,
                      QString* error = nullptr) const;
    // Several keys of one section in one write, as writeString sets each.
    bool writeStrings(const QString& section, const QList<std::pair<QString, QString>>& values,
                      QString* error = nullptr) const;

    // "0x10" -> 16, "12" -> 12, "abc" -> nullopt.
    static std::optional<int> parseInteger(const QString& text);

    // The text a refused write reports, with the file's full path.
    static QString writeErrorText(const QString& path);

private:
    QString m_path;
};
