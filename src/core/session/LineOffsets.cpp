#include "session/LineOffsets.h"

#include <algorithm>
#include <limits>

namespace {
int clampToInt(qint64 v)
{
    return static_cast<int>(std::clamp<qint64>(v, 0, std::numeric_limits<int>::max()));
}
} // namespace

void LineOffsets::clear()
{
    m_starts.clear();
    m_base = 0;
    m_end = 0;
}

void LineOffsets::append(int length)
{
    const qint64 start = m_starts.empty() ? m_base : m_end + 1;
    m_starts.push_back(start);
    m_end = start + std::max(0, length);
}

void LineOffsets::removeFront(int count)
{
    if (count <= 0)
        return;
    if (count >= lineCount()) {
        clear();
        return;
    }
    m_starts.erase(m_starts.begin(), m_starts.begin() + count);
    m_base = m_starts.front();
}

int LineOffsets::lineStart(int line) const
{
    if (line < 0 || line >= lineCount())
        return 0;
    return clampToInt(m_starts[line] - m_base);
}

int LineOffsets::lineLength(int line) const
{
    if (line < 0 || line >= lineCount())
        return 0;
    const qint64 end = line + 1 < lineCount() ? m_starts[line + 1] - 1 : m_end;
    return clampToInt(end - m_starts[line]);
}

int LineOffsets::characterCount() const
{
    return m_starts.empty() ? 0 : clampToInt(m_end - m_base);
}

LineOffsets::Position LineOffsets::positionOf(int offset) const
{
    if (m_starts.empty())
        return {};
    const qint64 absolute = m_base + std::clamp(offset, 0, characterCount());
    // The last line that starts at or before the offset.
    const auto it = std::upper_bound(m_starts.begin(), m_starts.end(), absolute);
    const int line = static_cast<int>(it - m_starts.begin()) - 1;
    return {line, static_cast<int>(absolute - m_starts[line])};
}

int LineOffsets::offsetOf(Position position) const
{
    if (m_starts.empty())
        return 0;
    const int line = std::clamp(position.line, 0, lineCount() - 1);
    return lineStart(line) + std::clamp(position.column, 0, lineLength(line));
}
