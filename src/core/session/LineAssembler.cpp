#include "session/LineAssembler.h"

#include "text/TextDecoding.h"

QList<QString> LineAssembler::feed(const QByteArray& chunk)
{
    QList<QString> lines;
    if (chunk.isEmpty())
        return lines;

    const char* data = chunk.constData();
    const qsizetype n = chunk.size();
    qsizetype i = 0;
    if (m_skipNext) {
        if (data[0] == m_skipNext)
            i = 1;
        m_skipNext = 0;
    }

    qsizetype lineStart = i;
    while (i < n) {
        const char c = data[i];
        if (c != '\n' && c != '\r') {
            ++i;
            continue;
        }
        QByteArray bytes;
        if (m_pending.isEmpty()) {
            bytes = QByteArray(data + lineStart, i - lineStart);
        } else {
            bytes = m_pending;
            bytes.append(data + lineStart, i - lineStart);
            m_pending.clear();
        }
        const qsizetype rest = cutPieces(bytes, lines);
        lines.append(TextDecoding::decodeLine(rest == 0 ? bytes : bytes.mid(rest)));
        // CR LF and LF CR are one line end each.
        const char pair = c == '\r' ? '\n' : '\r';
        if (i + 1 < n) {
            if (data[i + 1] == pair)
                ++i;
        } else {
            m_skipNext = pair;
        }
        ++i;
        lineStart = i;
    }
    if (lineStart < n) {
        m_pending.append(data + lineStart, n - lineStart);
        m_pending.remove(0, cutPieces(m_pending, lines));
    }
    return lines;
}

qsizetype LineAssembler::cutPieces(const QByteArray& bytes, QList<QString>& lines)
{
    // The cuts fall at the same bytes however the line was split into chunks:
    // every MaxTail bytes from the start of the line, moved back to the start
    // of a UTF-8 character so that no letter is cut in two.
    qsizetype from = 0;
    while (bytes.size() - from > MaxTail) {
        qsizetype cut = from + MaxTail;
        for (int k = 0; k < 3 && (quint8(bytes[cut]) & 0xC0) == 0x80; ++k)
            --cut;
        lines.append(TextDecoding::decodeLine(bytes.mid(from, cut - from)));
        from = cut;
    }
    return from;
}

std::optional<QString> LineAssembler::takeTail()
{
    if (m_pending.isEmpty())
        return std::nullopt;
    const QString line = TextDecoding::decodeLine(m_pending);
    m_pending.clear();
    return line;
}

namespace {

// How many bytes at the end of bytes are the start of a UTF-8 character
// still missing its last bytes, when what comes before them is UTF-8; else 0.
qsizetype cutCharacterLength(const QByteArray& bytes)
{
    qsizetype i = bytes.size() - 1;
    int continuation = 0;
    while (i >= 0 && continuation < 3 && (uchar(bytes.at(i)) & 0xC0) == 0x80) {
        --i;
        ++continuation;
    }
    if (i < 0)
        return 0;
    const uchar lead = uchar(bytes.at(i));
    const int length = (lead >= 0xC2 && lead <= 0xDF)   ? 2
                       : (lead >= 0xE0 && lead <= 0xEF) ? 3
                       : (lead >= 0xF0 && lead <= 0xF4) ? 4
                                                         : 0;
    if (length == 0 || continuation + 1 >= length)
        return 0;
    if (!TextDecoding::isValidUtf8(bytes.left(i)))
        return 0;
    return bytes.size() - i;
}

} // namespace

std::optional<QString> LineAssembler::takeTailKeepingCutCharacter()
{
    const qsizetype cut = cutCharacterLength(m_pending);
    if (cut == 0)
        return takeTail();
    if (cut == m_pending.size())
        return std::nullopt;
    const QString line = TextDecoding::decodeLine(m_pending.left(m_pending.size() - cut));
    m_pending = m_pending.right(cut);
    return line;
}

void LineAssembler::reset()
{
    m_pending.clear();
    m_skipNext = 0;
}
