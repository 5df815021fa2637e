#pragma once

#include "session/PaneText.h"
#include "session/PaneView.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QElapsedTimer>
#include <QGlyphRun>
#include <QHash>
#include <QSet>
#include <QList>
#include <QStaticText>
#include <QString>
#include <QTimer>

#include <climits>
#include <deque>
#include <vector>

// A read-only, never-wrapping text pane for the stream a cluster node sends.
// During a contest a node sends dozens of spots a second for hours, so the
// pane keeps plain lines and paints only what changed:
// - a new line scrolls the pixels already on screen and paints only the rows
//   that came into view, at most once per display frame;
// - a line that stays in view keeps its shaped text and is never shaped again;
// - of a very long line (a node that never ends its line) only the part in
//   view is shaped and painted; its width is measured once.
// A line is never wrapped, so a pane line is always exactly one line of an
// entry, and a click reads it back whole by its line number.
//
// The lines themselves, their limits and offsets are the pane's PaneText; the
// pane is its view: what is in view, the shaped lines, the selection and the
// painting.
class TerminalPane : public QAbstractScrollArea, public PaneView
{
    Q_OBJECT
public:
    using Position = PaneText::Position;

    explicit TerminalPane(QWidget* parent = nullptr);

    // The lines the pane shows.
    const PaneText& paneText() const override { return m_text; }

    // Adds one entry at the end of the pane and moves the view to it. An entry
    // holding line breaks (CR LF, LF or CR) shows as several lines.
    void appendEntry(const QString& text);
    void clear();

    // The text's limits (see PaneText).
    void setLimits(const PaneLimits& limits) { m_text.setLimits(limits); }
    void setLineLimit(int maxLines, int dropBlock) { m_text.setLineLimit(maxLines, dropBlock); }
    int lineLimit() const { return m_text.lineLimit(); }
    void setCharacterLimit(qint64 maxChars) { m_text.setCharacterLimit(maxChars); }
    qint64 characterCount() const { return m_text.characterCount(); }
    qint64 droppedLineCount() const { return m_text.droppedLineCount(); }

    int lineCount() const { return m_text.lineCount(); }
    // Whether a change waits for its frame (new lines are shown at most
    // once every 16 ms).
    bool framePending() const { return m_frame.isActive() || m_framePosted; }
    QString line(int index) const { return m_text.line(index); }
    QString toPlainText() const { return m_text.toPlainText(); }

    // The line that holds the start of the selection (the caret, where the
    // last click put it); -1 once that line has been dropped.
    int selectionStartLine() const;
    QString selectedText() const;
    void selectAll();

    // Where the selection starts and ends, in pane order, and the caret (the
    // end a click or a drag left last). All equal when nothing is selected.
    Position selectionStart() const override;
    Position selectionEnd() const override;
    Position caretPosition() const override { return m_caret; }
    // Selects from anchor to caret (equal positions: no selection, caret there).
    void setSelection(Position anchor, Position caret) override;
    QMetaObject::Connection followSelection(QObject* receiver,
                                            std::function<void()> slot) override;

    QWidget* textViewport() const override { return viewport(); }
    // The character at a position, in viewport coordinates; the column after
    // a line's last character gives a narrow box at its end.
    QRect characterRect(Position position) const override;
    // A line's row, in viewport coordinates (it may lie outside the viewport).
    QRect lineRect(int index) const;
    // The character position nearest to a point of the viewport.
    Position positionAt(const QPoint& viewportPoint) const override;
    // Scrolls as little as needed to bring the line into view.
    void ensureLineVisible(int line) override;

    void setTextColor(const QColor& color);
    QColor textColor() const { return m_textColor; }
    // The font of every line of the pane.
    void setPaneFont(const QFont& font);

signals:
    // Any mouse button released over the pane.
    void mouseReleased(Qt::MouseButton button);
    // After count lines were added at the end.
    void linesAppended(int count);
    // After the first count lines were taken away (the oldest lines dropped
    // past the line limit, or all of them by clear()); the remaining lines
    // are renumbered from 0.
    void linesRemoved(int count);
    // The selection or the caret moved.
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Where each part of a long line starts and how far right it begins, so
    // that only the parts in view are shaped when it is painted.
    struct LongLine
    {
        QList<int> start; // character index of each part, then the line's length
        QList<int> x;     // pixel offset of each part, then the line's width
    };
    // A line shaped once: its glyphs, placed for a baseline at the line's own
    // ascent.
    struct ShapedLine
    {
        QList<QGlyphRun> runs;
        qreal ascent = 0;
    };

    void onLinesAppended(int count);
    void onLinesDropped(int count);
    void onCleared(int count);
    // The width of the line at index. A short line is shaped for it, and the
    // shape is kept for painting when keepShape is set (a line in or near the
    // view).
    int measure(int index, bool keepShape = false);
    ShapedLine shape(const QString& text, int* width) const;
    void trimShapes();
    qreal advanceOf(QChar c) const;
    void recomputeMaxWidth();
    void scheduleFrame();
    void showFrame();
    void syncScrollBars();
    void showChanges();
    int visibleRows() const;
    int bottomTop() const;
    qint64 keyOf(int index) const { return m_text.droppedLineCount() + index; }
    const LongLine* longLine(int index) const;
    int xOf(int index, int column) const;
    Position positionAt(const QPoint& viewportPoint, int top) const;
    int columnAt(int index, int x) const;
    void paintLine(QPainter& p, int index, int x0, int y);

    PaneText m_text;
    // The width of each line in the pane's font, in step with the text.
    std::deque<int> m_widths;
    int m_maxWidth = 0;
    int m_lineHeight = 1;
    int m_ascent = 0;
    QColor m_textColor;
    Position m_anchor;
    Position m_caret;
    bool m_caretDropped = false;
    bool m_selecting = false;
    // The selection was lost with dropped lines while the text changed; told
    // once the change is over, after every reader of the text heard of it.
    bool m_selectionLost = false;

    // The view: m_top is the first line the pane should show, m_shownTop the
    // first line its pixels show now; they differ until the next frame.
    int m_top = 0;
    int m_shownTop = 0;
    int m_dirtyFrom = INT_MAX; // first line added since the last frame
    bool m_repaintAll = false;
    bool m_syncingBars = false;
    QTimer m_frame;
    QElapsedTimer m_sinceFrame;
    bool m_framePosted = false;

    // Caches keyed by a line's number since the pane was made, so that they
    // stay true when the oldest lines are dropped.
    mutable QHash<qint64, ShapedLine> m_shaped;
    QHash<qint64, LongLine> m_long;
    // The parts of long lines in view, shaped: (line number << 20) | part.
    mutable QHash<qint64, QStaticText> m_shapedParts;
    QSet<qint64> m_paintedParts;
    // Advance of each UTF-16 unit in the pane's font, filled as met (-1: not
    // yet); long lines are measured with it rather than shaped whole.
    mutable std::vector<float> m_advance;
};
