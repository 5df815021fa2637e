#pragma once

#include <QtGlobal>

#include <vector>

// Character offsets into the text of a pane of lines, the way a screen reader
// counts them: the lines joined with "\n", in UTF-16 code units. A pane of
//   "DX de W3LPL: ..." (74 units)
//   "To ALL de EA8ABC: hello" (23 units)
// has 74 + 1 + 23 = 98 characters, and offset 75 is the "T" of line 1.
// Lines are added at the end and taken away from the front, both in time
// proportional to the lines added or taken.
class LineOffsets
{
public:
    struct Position
    {
        int line = 0;
        int column = 0;
        bool operator==(const Position&) const = default;
    };

    void clear();
    // A line of `length` code units after the last one.
    void append(int length);
    // Takes away the first `count` lines; the others are renumbered from 0.
    void removeFront(int count);

    int lineCount() const { return static_cast<int>(m_starts.size()); }
    int lineStart(int line) const;
    int lineLength(int line) const;
    int characterCount() const;

    // The line and column of an offset, clamped to the text. The "\n" after
    // a line is that line's column `length`; an empty text gives {0, 0}.
    Position positionOf(int offset) const;
    // The offset of a line and column, each clamped to the text.
    int offsetOf(Position position) const;

private:
    // Absolute starts; `m_base` is the absolute start of line 0, so taking
    // lines from the front does not touch the others.
    std::vector<qint64> m_starts;
    qint64 m_base = 0;
    qint64 m_end = 0; // absolute end of the last line
};
