#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QStringList>

// A read-only, never-wrapping text pane for the stream a cluster node sends.
// During a contest a node sends dozens of spots a second for hours, so the
// pane keeps plain lines and paints only the visible ones: adding a line costs
// the same at line 200,000 as at line 1, and a line is never wrapped, so a
// pane line is always exactly one line of an entry (a click reads it back by
// its line number).
class TerminalPane : public QAbstractScrollArea
{
    Q_OBJECT
public:
    struct Position
    {
        int line = 0;
        int column = 0; // 0-based, in UTF-16 code units
        auto operator<=>(const Position&) const = default;
    };

    explicit TerminalPane(QWidget* parent = nullptr);

    // Adds one entry at the end of the pane and moves the view to it. An entry
    // holding line breaks (CR LF, LF or CR) shows as several lines.
    void appendEntry(const QString& text);
    void clear();

    int lineCount() const { return static_cast<int>(m_lines.size()); }
    QString line(int index) const;
    QString toPlainText() const;

    // The line that holds the start of the selection (the caret, where the
    // last click put it).
    int selectionStartLine() const;
    QString selectedText() const;
    void selectAll();

    // Where the selection starts and ends, in pane order, and the caret (the
    // end a click or a drag left last). All equal when nothing is selected.
    Position selectionStart() const;
    Position selectionEnd() const;
    Position caretPosition() const { return m_caret; }
    // Selects from anchor to caret (equal positions: no selection, caret there).
    void setSelection(Position anchor, Position caret);

    // The character at a position, in viewport coordinates; the column after
    // a line's last character gives a narrow box at its end.
    QRect characterRect(Position position) const;
    // The character position nearest to a point of the viewport.
    Position positionAt(const QPoint& viewportPoint) const;
    // Scrolls as little as needed to bring the line into view.
    void ensureLineVisible(int line);

    void setTextColor(const QColor& color);
    QColor textColor() const { return m_textColor; }
    // The font of every line of the pane.
    void setPaneFont(const QFont& font);

signals:
    // Any mouse button released over the pane.
    void mouseReleased(Qt::MouseButton button);
    // After count lines were added at the end.
    void linesAppended(int count);
    // After the first count lines were taken away (clear() takes them all);
    // the remaining lines are renumbered from 0.
    void linesRemoved(int count);
    // The selection or the caret moved.
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void appendLine(const QString& text);
    void updateScrollBars();
    void scrollToEnd();
    int lineHeight() const;
    int lineWidth(const QString& text) const;

    QStringList m_lines;
    int m_maxWidth = 0;
    QColor m_textColor;
    Position m_anchor;
    Position m_caret;
    bool m_selecting = false;
};
