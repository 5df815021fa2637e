#include "text/TextDecoding.h"

#include <QStringDecoder>

namespace TextDecoding {

bool isValidUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = p[i + k];
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

namespace {
const char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
} // namespace

QString fromWindows1252(const QByteArray& bytes)
{
    const char16_t* high = kHigh1252;
    QString out;
    out.resize(bytes.size());
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        d[i] = (b >= 0x80 && b < 0xA0) ? QChar(high[b - 0x80]) : QChar(b);
    }
    return out;
}

QByteArray toWindows1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        char b = '?';
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            b = static_cast<char>(u);
        } else {
            for (int i = 0; i < 32; ++i) {
                if (kHigh1252[i] == u) {
                    b = static_cast<char>(0x80 + i);
                    break;
                }
            }
        }
        out.append(b);
    }
    return out;
}

QString decodeUnmarked(QByteArrayView bytes, QStringConverter::Encoding encoding)
{
    // Qt's decoders drop a byte-order mark at the start by default. The
    // caller has dealt with the file's mark already, so a U+FEFF that follows
    // is a character of the text and stays.
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless |
                                         QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QString decodeLine(const QByteArray& bytes)
{
    if (isValidUtf8(bytes))
        return decodeUnmarked(bytes, QStringConverter::Utf8);
    return fromWindows1252(bytes);
}

QString decodeFile(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeUnmarked(QByteArrayView(bytes).sliced(3), QStringConverter::Utf8);
    if (bytes.startsWith("\xFF\xFE"))
        return decodeUnmarked(QByteArrayView(bytes).sliced(2), QStringConverter::Utf16LE);
    if (bytes.startsWith("\xFE\xFF"))
        return decodeUnmarked(QByteArrayView(bytes).sliced(2), QStringConverter::Utf16BE);
    return decodeLine(bytes);
}

} // namespace TextDecoding
