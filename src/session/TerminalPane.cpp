#include "session/TerminalPane.h"

#include "session/TerminalPaneAccessible.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace {
constexpr int kMargin = 4;
}

TerminalPane::TerminalPane(QWidget* parent) : QAbstractScrollArea(parent)
{
    TerminalPaneAccessible::install();
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::ClickFocus);
    viewport()->setCursor(Qt::PointingHandCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    m_textColor = palette().color(QPalette::Text);
    updateScrollBars();
}

void TerminalPane::appendEntry(const QString& text)
{
    // One entry, one update: the pane repaints once, after the whole entry.
    const int before = lineCount();
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            appendLine(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    appendLine(text.mid(start));
    updateScrollBars();
    scrollToEnd();
    viewport()->update();
    emit linesAppended(lineCount() - before);
}

void TerminalPane::appendLine(const QString& text)
{
    m_lines.append(text);
    m_maxWidth = std::max(m_maxWidth, lineWidth(text));
}

void TerminalPane::clear()
{
    const int removed = lineCount();
    m_lines.clear();
    m_maxWidth = 0;
    m_anchor = m_caret = {};
    updateScrollBars();
    viewport()->update();
    emit linesRemoved(removed);
    emit selectionChanged();
}

QString TerminalPane::line(int index) const
{
    if (index < 0 || index >= m_lines.size())
        return {};
    return m_lines.at(index);
}

QString TerminalPane::toPlainText() const
{
    return m_lines.join(QLatin1Char('\n'));
}

int TerminalPane::selectionStartLine() const
{
    return std::min(m_anchor, m_caret).line;
}

QString TerminalPane::selectedText() const
{
    const Position from = std::min(m_anchor, m_caret);
    const Position to = std::max(m_anchor, m_caret);
    if (from == to || m_lines.isEmpty())
        return {};
    QStringList parts;
    for (int l = from.line; l <= to.line && l < m_lines.size(); ++l) {
        const QString& s = m_lines.at(l);
        const int a = (l == from.line) ? from.column : 0;
        const int b = (l == to.line) ? to.column : static_cast<int>(s.size());
        parts.append(s.mid(a, b - a));
    }
    return parts.join(QLatin1Char('\n'));
}

void TerminalPane::selectAll()
{
    m_anchor = {};
    m_caret = m_lines.isEmpty()
                  ? Position{}
                  : Position{lineCount() - 1, static_cast<int>(m_lines.constLast().size())};
    viewport()->update();
    emit selectionChanged();
}

TerminalPane::Position TerminalPane::selectionStart() const
{
    return std::min(m_anchor, m_caret);
}

TerminalPane::Position TerminalPane::selectionEnd() const
{
    return std::max(m_anchor, m_caret);
}

void TerminalPane::setSelection(Position anchor, Position caret)
{
    const auto valid = [this](Position p) {
        if (m_lines.isEmpty())
            return Position{};
        p.line = std::clamp(p.line, 0, lineCount() - 1);
        p.column = std::clamp(p.column, 0, static_cast<int>(m_lines.at(p.line).size()));
        return p;
    };
    m_anchor = valid(anchor);
    m_caret = valid(caret);
    viewport()->update();
    emit selectionChanged();
}

QRect TerminalPane::characterRect(Position position) const
{
    if (position.line < 0 || position.line >= lineCount())
        return {};
    const QString& s = m_lines.at(position.line);
    const int column = std::clamp(position.column, 0, static_cast<int>(s.size()));
    const QFontMetrics fm = fontMetrics();
    const int x = kMargin - horizontalScrollBar()->value() + fm.horizontalAdvance(s.left(column));
    const int w = column < s.size() ? fm.horizontalAdvance(s.at(column)) : 1;
    const int h = lineHeight();
    return QRect(x, (position.line - verticalScrollBar()->value()) * h, std::max(1, w), h);
}

void TerminalPane::ensureLineVisible(int line)
{
    QScrollBar* bar = verticalScrollBar();
    if (line < bar->value())
        bar->setValue(line);
    else if (line >= bar->value() + bar->pageStep())
        bar->setValue(line - bar->pageStep() + 1);
}

void TerminalPane::setTextColor(const QColor& color)
{
    m_textColor = color;
    viewport()->update();
}

void TerminalPane::setPaneFont(const QFont& font)
{
    setFont(font);
}

void TerminalPane::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        m_maxWidth = 0;
        for (const QString& s : std::as_const(m_lines))
            m_maxWidth = std::max(m_maxWidth, lineWidth(s));
        updateScrollBars();
        viewport()->update();
    }
    QAbstractScrollArea::changeEvent(event);
}

int TerminalPane::lineHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

int TerminalPane::lineWidth(const QString& text) const
{
    return fontMetrics().horizontalAdvance(text);
}

void TerminalPane::updateScrollBars()
{
    const int visible = std::max(1, viewport()->height() / lineHeight());
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setRange(0, std::max(0, lineCount() - visible));
    const int width = viewport()->width();
    horizontalScrollBar()->setPageStep(width);
    horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth());
    horizontalScrollBar()->setRange(0, std::max(0, m_maxWidth + 2 * kMargin - width));
}

void TerminalPane::scrollToEnd()
{
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void TerminalPane::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TerminalPane::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.setFont(font());
    const int h = lineHeight();
    const int ascent = fontMetrics().ascent();
    const int first = verticalScrollBar()->value();
    const int x0 = kMargin - horizontalScrollBar()->value();
    const int rows = viewport()->height() / h + 2;
    const Position from = std::min(m_anchor, m_caret);
    const Position to = std::max(m_anchor, m_caret);
    const QPalette pal = palette();
    for (int r = 0; r < rows; ++r) {
        const int l = first + r;
        if (l >= lineCount())
            break;
        const QString& s = m_lines.at(l);
        const int y = r * h;
        if (from != to && l >= from.line && l <= to.line) {
            const int a = (l == from.line) ? from.column : 0;
            const int b = (l == to.line) ? to.column : static_cast<int>(s.size());
            const int xa = x0 + fontMetrics().horizontalAdvance(s.left(a));
            const int xb = x0 + fontMetrics().horizontalAdvance(s.left(b)) +
                           (l == to.line ? 0 : fontMetrics().averageCharWidth());
            p.fillRect(QRect(xa, y, xb - xa, h), pal.color(QPalette::Highlight));
        }
        p.setPen(m_textColor);
        p.drawText(x0, y + ascent, s);
    }
}

TerminalPane::Position TerminalPane::positionAt(const QPoint& pt) const
{
    if (m_lines.isEmpty())
        return {};
    const int l =
        std::clamp(verticalScrollBar()->value() + pt.y() / lineHeight(), 0, lineCount() - 1);
    const QString& s = m_lines.at(l);
    const int x = pt.x() - kMargin + horizontalScrollBar()->value();
    int col = 0;
    int advance = 0;
    while (col < s.size()) {
        const int w = fontMetrics().horizontalAdvance(s.at(col));
        if (advance + w / 2 > x)
            break;
        advance += w;
        ++col;
    }
    return {l, col};
}

void TerminalPane::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_anchor = m_caret = positionAt(event->position().toPoint());
        m_selecting = true;
        viewport()->update();
        emit selectionChanged();
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void TerminalPane::mouseMoveEvent(QMouseEvent* event)
{
    if (m_selecting) {
        const Position caret = positionAt(event->position().toPoint());
        if (caret != m_caret) {
            m_caret = caret;
            viewport()->update();
            emit selectionChanged();
        }
    }
}

void TerminalPane::mouseReleaseEvent(QMouseEvent* event)
{
    m_selecting = false;
    emit mouseReleased(event->button());
}

void TerminalPane::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        const QString text = selectedText();
        if (!text.isEmpty())
            QApplication::clipboard()->setText(text);
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}
