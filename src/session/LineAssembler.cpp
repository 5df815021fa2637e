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
        lines.append(TextDecoding::decodeLine(bytes));
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
    if (lineStart < n)
        m_pending.append(data + lineStart, n - lineStart);

    if (m_pending.size() > MaxTail) {
        lines.append(TextDecoding::decodeLine(m_pending));
        m_pending.clear();
    }
    return lines;
}

std::optional<QString> LineAssembler::takeTail()
{
    if (m_pending.isEmpty())
        return std::nullopt;
    const QString line = TextDecoding::decodeLine(m_pending);
    m_pending.clear();
    return line;
}

void LineAssembler::reset()
{
    m_pending.clear();
    m_skipNext = 0;
}
