#pragma once

#include <QByteArray>
#include <QString>
#include <QStringConverter>

// How the program turns bytes from files and from the network into text.
// Files made on Windows often carry no byte-order mark and use the ANSI code
// page, so text that is not valid UTF-8 is read as Windows-1252.
namespace TextDecoding {

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool isValidUtf8(const QByteArray& bytes);

// Windows-1252: bytes 0x80..0x9F are the typographic characters of that code
// page (0x80 is the euro sign); the five unassigned bytes map to the C1
// controls of the same value, as Windows itself does.
QString fromWindows1252(const QByteArray& bytes);

// The reverse: characters outside the code page become "?".
QByteArray toWindows1252(const QString& text);

// Bytes without a byte-order mark of their own in a Unicode encoding; a
// U+FEFF at their start is kept as a character. Malformed input becomes
// U+FFFD.
QString decodeUnmarked(QByteArrayView bytes, QStringConverter::Encoding encoding);

// A line from a cluster node: UTF-8 when valid, else Windows-1252.
QString decodeLine(const QByteArray& bytes);

// A whole text file: a UTF-8, UTF-16 LE or UTF-16 BE byte-order mark selects
// the encoding (the mark is dropped); without a mark, UTF-8 when valid, else
// Windows-1252.
QString decodeFile(const QByteArray& bytes);

} // namespace TextDecoding
