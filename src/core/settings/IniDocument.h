#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The bytes of one initialization file and what they say:
//
//   [Node]
//   Elemento=GB7DJK
//
// The encoding is decided once for the whole file: a UTF-8 or UTF-16
// byte-order mark, else UTF-8 when every byte is valid UTF-8, else the ANSI
// code page (Windows-1252). Lines end in CR LF, LF or a lone CR. Section and
// key names match without regard to case; a value is read trimmed.
//
// Setting a value changes only the bytes of its own line (or inserts one), so
// comments, blank lines and odd line ends elsewhere stay as the user left
// them. When the file could not keep its meaning that way (an ANSI file whose
// new bytes would pass for UTF-8, a value the code page cannot hold), the
// whole file is rewritten as UTF-8 with a mark, every value unchanged.
class IniDocument
{
public:
    enum class Encoding
    {
        Utf8,
        Utf8Bom,
        Utf16Le,
        Utf16Be,
        Windows1252,
    };

    struct Key
    {
        QString section;
        QString key;
    };

    explicit IniDocument(QByteArray bytes = {});

    const QByteArray& bytes() const { return m_bytes; }
    Encoding encoding() const { return m_encoding; }

    // The trimmed value of the first such key in the first such section.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Every key line that stands under a section, in file order.
    QList<Key> keys() const;

    // The file's bytes with the key set to value. Line breaks inside the
    // value become blanks. A missing key goes after the last non-blank line
    // of its section; a missing section goes at the end of the file.
    QByteArray withValue(const QString& section, const QString& key, const QString& value) const;

    // The file as text: every line with its own line end.
    QString text() const;

private:
    struct Line
    {
        qsizetype begin = 0;     // first byte of the line
        qsizetype end = 0;       // first byte of its line end
        qsizetype next = 0;      // first byte of the next line
        qsizetype textBegin = 0; // the same three places in text()
        qsizetype textEnd = 0;
        qsizetype textNext = 0;
        QString content;
        QString lineEnd; // "\r\n", "\n", "\r" or empty for a last line without one
    };

    qsizetype findSection(const QString& section) const;
    qsizetype sectionEnd(qsizetype header) const;
    QString newLineEnd() const;

    QByteArray m_bytes;
    Encoding m_encoding = Encoding::Utf8;
    qsizetype m_bodyStart = 0; // after the byte-order mark
    QList<Line> m_lines;
    QString m_text;
};
