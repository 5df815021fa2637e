#pragma once

#include "session/LineOffsets.h"
#include "session/PaneLimits.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>

// The text of a pane of node lines, without a widget: the lines, their
// limits and the character offsets a screen reader counts. The view that
// paints it, the pane's accessible interface and the one that announces new
// text all read this one copy, and follow it by its change notices.
//
// Lines come at the end and go from the front only:
// - appendEntry() adds one entry; an entry holding line breaks (CR LF, LF or
//   CR) gives several lines;
// - past the limits the oldest lines are dropped, before the new lines come,
//   so whoever follows hears of lines going and then of lines coming;
// - clear() takes every line away.
class PaneText : public QObject
{
    Q_OBJECT
public:
    // A place in the text: a line and a column in it (0-based, in UTF-16
    // code units).
    struct Position
    {
        int line = 0;
        int column = 0;
        auto operator<=>(const Position&) const = default;
    };

    explicit PaneText(QObject* parent = nullptr);

    // The lines of an entry as the pane shows them. A node ends its lines
    // with CR LF, a few with LF or CR alone:
    //   "DX de W3LPL: ...\r\nDX de K1TTT: ..." gives two lines;
    // an entry without a line break is one line, and a trailing break gives
    // an empty last line.
    static QStringList splitLines(const QString& text);

    void appendEntry(const QString& text);
    void clear();

    void setLimits(const PaneLimits& limits);
    // At most maxLines lines are kept: past that, the oldest lines are
    // dropped, dropBlock at a time. 0 keeps every line (the default).
    void setLineLimit(int maxLines, int dropBlock);
    int lineLimit() const { return m_lineLimit; }
    // At most maxChars UTF-16 units are kept, whatever the lines' lengths:
    // past that, the oldest lines are dropped until a tenth of the room is
    // free again. An entry longer than the whole room keeps its last line.
    // 0 sets no such limit (the default).
    void setCharacterLimit(qint64 maxChars);
    qint64 characterLimit() const { return m_charLimit; }

    // UTF-16 units held by all lines (line ends not counted).
    qint64 characterCount() const { return m_chars; }
    // Lines taken from the front since the text was made: today's line 0 is
    // line droppedLineCount() of everything ever held.
    qint64 droppedLineCount() const { return m_dropped; }

    int lineCount() const { return static_cast<int>(m_lines.size()); }
    // The line; an empty string for an index out of range.
    const QString& line(int index) const;
    // The lines joined with "\n".
    QString toPlainText() const;

    // Offsets over the lines joined with "\n", as a screen reader counts.
    const LineOffsets& offsets() const { return m_offsets; }
    int offsetOf(Position position) const;
    Position positionOf(int offset) const;
    // The text from one offset to another, clamped to the text.
    QString text(int startOffset, int endOffset) const;

signals:
    // After count lines were added at the end.
    void linesAppended(int count);
    // After the oldest count lines were dropped past a limit; characters is
    // the length they had in offsets, each with its line end (or the whole
    // text when no line is left). The others are renumbered from 0.
    void linesDropped(int count, int characters);
    // After clear() took all count lines away, characters long in offsets.
    void cleared(int count, int characters);

private:
    void dropFront(int count);
    int linesToFree(qint64 chars) const;

    std::deque<QString> m_lines;
    LineOffsets m_offsets;
    qint64 m_dropped = 0;
    qint64 m_chars = 0;
    int m_lineLimit = 0;
    int m_dropBlock = 1;
    qint64 m_charLimit = 0;
};
