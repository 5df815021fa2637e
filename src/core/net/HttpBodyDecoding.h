#pragma once

#include <QByteArray>
#include <QString>

// How a response body becomes text: the charset the answer names, else the
// default of its media type, else every byte is the character of the same
// code.
namespace HttpBodyDecoding {

// The charset a body is read in, lower case; empty when none is known.
//   "text/plain; charset=UTF-8"      -> "utf-8"
//   "text/plain"                     -> "iso-8859-1"
//   "application/rss+xml"            -> from <?xml ... encoding="..."?>
//   "text/html" with <meta charset=utf-8> -> "utf-8"
//   "application/json"               -> ""
QString charsetFor(const QString& contentType, const QByteArray& body);

// Bytes in a named charset; a charset the program does not know reads byte
// for byte.
QString decode(const QByteArray& bytes, const QString& charset);

QString decodeBody(const QByteArray& body, const QString& contentType);

} // namespace HttpBodyDecoding
