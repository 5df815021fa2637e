#include "session/PaneText.h"

#include <algorithm>

PaneText::PaneText(QObject* parent) : QObject(parent) {}

QStringList PaneText::splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    // The usual entry, one line without a break, keeps sharing its data.
    lines.append(start == 0 ? text : text.mid(start));
    return lines;
}

void PaneText::appendEntry(const QString& text)
{
    QStringList lines = splitLines(text);
    const int added = static_cast<int>(lines.size());
    // The oldest lines make room first, so that whoever follows the text
    // hears of lines going and then of lines coming.
    if (m_lineLimit > 0 && lineCount() + added > m_lineLimit) {
        const int over = lineCount() + added - m_lineLimit;
        const int blocks = (over + m_dropBlock - 1) / m_dropBlock;
        dropFront(std::min(lineCount(), blocks * m_dropBlock));
    }
    if (m_charLimit > 0) {
        qint64 addedChars = 0;
        for (const QString& line : std::as_const(lines))
            addedChars += line.size();
        if (m_chars + addedChars > m_charLimit)
            dropFront(linesToFree(m_chars + addedChars - (m_charLimit - m_charLimit / 10)));
    }
    for (QString& line : lines) {
        m_chars += line.size();
        m_offsets.append(static_cast<int>(line.size()));
        m_lines.push_back(std::move(line));
    }
    emit linesAppended(added);
    // An entry longer than the limit itself keeps only its last lines.
    if (m_lineLimit > 0 && lineCount() > m_lineLimit)
        dropFront(lineCount() - m_lineLimit);
    if (m_charLimit > 0 && m_chars > m_charLimit)
        dropFront(std::min(lineCount() - 1, linesToFree(m_chars - m_charLimit)));
}

// How many of the oldest lines hold at least chars UTF-16 units (all of them
// when they hold fewer).
int PaneText::linesToFree(qint64 chars) const
{
    int n = 0;
    for (qint64 freed = 0; n < lineCount() && freed < chars; ++n)
        freed += m_lines[static_cast<size_t>(n)].size();
    return n;
}

void PaneText::dropFront(int count)
{
    count = std::min(count, lineCount());
    if (count <= 0)
        return;
    const int characters =
        count >= lineCount() ? m_offsets.characterCount() : m_offsets.lineStart(count);
    for (int i = 0; i < count; ++i)
        m_chars -= m_lines[static_cast<size_t>(i)].size();
    m_lines.erase(m_lines.begin(), m_lines.begin() + count);
    m_offsets.removeFront(count);
    m_dropped += count;
    emit linesDropped(count, characters);
}

void PaneText::clear()
{
    const int n = lineCount();
    const int characters = m_offsets.characterCount();
    m_lines.clear();
    m_offsets.clear();
    m_chars = 0;
    m_dropped += n;
    emit cleared(n, characters);
}

void PaneText::setLimits(const PaneLimits& limits)
{
    setLineLimit(limits.maxLines, limits.dropBlock);
    setCharacterLimit(limits.maxChars);
}

void PaneText::setLineLimit(int maxLines, int dropBlock)
{
    m_lineLimit = std::max(0, maxLines);
    m_dropBlock = std::clamp(dropBlock, 1, std::max(1, m_lineLimit));
}

void PaneText::setCharacterLimit(qint64 maxChars)
{
    m_charLimit = std::max<qint64>(0, maxChars);
}

const QString& PaneText::line(int index) const
{
    static const QString none;
    if (index < 0 || index >= lineCount())
        return none;
    return m_lines[static_cast<size_t>(index)];
}

QString PaneText::toPlainText() const
{
    return text(0, m_offsets.characterCount());
}

int PaneText::offsetOf(Position position) const
{
    return m_offsets.offsetOf({position.line, position.column});
}

PaneText::Position PaneText::positionOf(int offset) const
{
    const LineOffsets::Position p = m_offsets.positionOf(offset);
    return {p.line, p.column};
}

QString PaneText::text(int startOffset, int endOffset) const
{
    const int count = m_offsets.characterCount();
    startOffset = std::clamp(startOffset, 0, count);
    endOffset = std::clamp(endOffset, startOffset, count);
    if (startOffset == endOffset)
        return {};
    const Position from = positionOf(startOffset);
    const Position to = positionOf(endOffset);
    QString out;
    out.reserve(endOffset - startOffset);
    for (int l = from.line; l <= to.line; ++l) {
        const QString& s = line(l);
        const int a = l == from.line ? from.column : 0;
        const int b = l == to.line ? to.column : static_cast<int>(s.size());
        if (l > from.line)
            out += QLatin1Char('\n');
        out += QStringView(s).mid(a, std::max(0, b - a));
    }
    return out;
}
