#include "session/TerminalPane.h"

#include "session/PaneScrollBar.h"
#include "session/TerminalPaneAccessible.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace {
constexpr int kMargin = 4;
// One paint per display frame, whatever the line rate.
constexpr int kFrameMs = 16;
// A line longer than this is shaped and painted in parts of about kPart
// characters, and only the parts in view. Node lines are far shorter; this is
// for a node that sends text without line ends.
constexpr int kLongLine = 1024;
constexpr int kPart = 128;
} // namespace

TerminalPane::TerminalPane(QWidget* parent) : QAbstractScrollArea(parent)
{
    TerminalPaneAccessible::install();
    setVerticalScrollBar(new PaneScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new PaneScrollBar(Qt::Horizontal, this));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::ClickFocus);
    viewport()->setCursor(Qt::PointingHandCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    m_textColor = palette().color(QPalette::Text);
    m_lineHeight = std::max(1, fontMetrics().lineSpacing());
    m_ascent = fontMetrics().ascent();
    m_frame.setSingleShot(true);
    m_frame.setTimerType(Qt::PreciseTimer);
    connect(&m_frame, &QTimer::timeout, this, &TerminalPane::showFrame);
    // Both bars are always on, so a new range needs no new layout; left
    // connected, every new line would repaint the whole pane and the window
    // under it.
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()})
        disconnect(bar, SIGNAL(rangeChanged(int, int)), this, SLOT(_q_showOrHideScrollBars()));
    connect(&m_text, &PaneText::linesAppended, this, &TerminalPane::onLinesAppended);
    connect(&m_text, &PaneText::linesDropped, this, &TerminalPane::onLinesDropped);
    connect(&m_text, &PaneText::cleared, this, &TerminalPane::onCleared);
    syncScrollBars();
}

// --- lines ----------------------------------------------------------------

void TerminalPane::appendEntry(const QString& text)
{
    m_text.appendEntry(text);
    // A selection lost with dropped lines is told once the whole entry is in,
    // after every reader of the text has heard which lines went.
    if (std::exchange(m_selectionLost, false))
        emit selectionChanged();
}

void TerminalPane::clear()
{
    m_text.clear();
    emit selectionChanged();
}

void TerminalPane::onLinesAppended(int count)
{
    const int first = lineCount() - count;
    // A new line goes to the end, where the view moves: it is shaped once,
    // for its width and for painting.
    for (int i = first; i < lineCount(); ++i) {
        const int width = measure(i, true);
        m_maxWidth = std::max(m_maxWidth, width);
        m_widths.push_back(width);
    }
    m_dirtyFrom = std::min(m_dirtyFrom, first);
    // One entry, one update: the view moves to the end, and the pane shows it
    // with the next frame.
    m_top = bottomTop();
    trimShapes();
    scheduleFrame();
    emit linesAppended(count);
}

int TerminalPane::measure(int index, bool keepShape)
{
    const QString& s = m_text.line(index);
    const qint64 key = keyOf(index);
    int width = 0;
    if (s.size() <= kLongLine) {
        if (keepShape)
            m_shaped.insert(key, shape(s, &width));
        else
            width = fontMetrics().horizontalAdvance(s);
        return width;
    }
    // Measured part by part from the advances of its characters, without
    // shaping: a line that never ends must cost little per byte. The parts
    // never split a surrogate pair.
    LongLine parts;
    const int n = static_cast<int>(s.size());
    const QChar* d = s.constData();
    qreal x = 0;
    for (int a = 0; a < n;) {
        int b = std::min(n, a + kPart);
        if (b < n && d[b - 1].isHighSurrogate())
            ++b;
        parts.start.append(a);
        parts.x.append(qRound(x));
        for (int i = a; i < b; ++i) {
            if (d[i].isHighSurrogate() && i + 1 < b && d[i + 1].isLowSurrogate()) {
                x += QFontMetricsF(font()).horizontalAdvance(QString(d + i, 2));
                ++i;
            } else {
                x += advanceOf(d[i]);
            }
        }
        a = b;
    }
    parts.start.append(n);
    parts.x.append(qRound(x));
    m_long.insert(key, std::move(parts));
    return qRound(x);
}

// One line laid out as the painter lays out a line of text: no wrapping, the
// trailing blanks counted in its width, as QFontMetrics counts them.
TerminalPane::ShapedLine TerminalPane::shape(const QString& text, int* width) const
{
    QTextLayout layout(text, font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    ShapedLine out;
    *width = 0;
    if (line.isValid()) {
        *width = qRound(line.horizontalAdvance());
        out.ascent = line.ascent();
        out.runs = layout.glyphRuns();
    }
    return out;
}

// Shapes are kept for the lines in and next to the view only.
void TerminalPane::trimShapes()
{
    const int rows = viewport()->height() / m_lineHeight + 2;
    if (m_shaped.size() <= 2 * rows + 8)
        return;
    const qint64 lo = keyOf(m_top) - rows;
    const qint64 hi = keyOf(m_top) + 2 * rows;
    for (auto it = m_shaped.begin(); it != m_shaped.end();)
        it = (it.key() < lo || it.key() > hi) ? m_shaped.erase(it) : std::next(it);
}

qreal TerminalPane::advanceOf(QChar c) const
{
    if (m_advance.empty())
        m_advance.assign(0x10000, -1.0f);
    float& a = m_advance[c.unicode()];
    if (a < 0)
        a = static_cast<float>(QFontMetricsF(font()).horizontalAdvance(c));
    return a;
}

// The text has dropped its oldest count lines (already renumbered).
void TerminalPane::onLinesDropped(int count)
{
    bool widest = false;
    for (int i = 0; i < count; ++i)
        widest = widest || m_widths[static_cast<size_t>(i)] >= m_maxWidth;
    m_widths.erase(m_widths.begin(), m_widths.begin() + count);
    const qint64 dropped = m_text.droppedLineCount();
    for (auto it = m_long.begin(); it != m_long.end();)
        it = it.key() < dropped ? m_long.erase(it) : std::next(it);
    for (auto it = m_shaped.begin(); it != m_shaped.end();)
        it = it.key() < dropped ? m_shaped.erase(it) : std::next(it);
    for (auto it = m_shapedParts.begin(); it != m_shapedParts.end();)
        it = (it.key() >> 20) < dropped ? m_shapedParts.erase(it) : std::next(it);

    // The selection stays on its lines. A selection that began on a dropped
    // line is gone, and the caret with it: a click can then read no line.
    const Position from = std::min(m_anchor, m_caret);
    if (from.line < count) {
        m_anchor = m_caret = {};
        m_caretDropped = true;
        m_selecting = false;
        m_selectionLost = true;
    } else {
        m_anchor.line -= count;
        m_caret.line -= count;
    }
    // The pixels on screen still show the same lines, now at lower indexes;
    // rows that showed a dropped line show another one from the next frame.
    if (m_shownTop < count)
        m_repaintAll = true;
    m_top = std::max(0, m_top - count);
    m_shownTop = std::max(0, m_shownTop - count);
    if (m_dirtyFrom != INT_MAX)
        m_dirtyFrom = std::max(0, m_dirtyFrom - count);
    if (widest)
        recomputeMaxWidth();
    emit linesRemoved(count);
}

void TerminalPane::recomputeMaxWidth()
{
    m_maxWidth = 0;
    for (const int width : m_widths)
        m_maxWidth = std::max(m_maxWidth, width);
}

void TerminalPane::onCleared(int count)
{
    m_widths.clear();
    m_long.clear();
    m_shaped.clear();
    m_shapedParts.clear();
    m_maxWidth = 0;
    m_anchor = m_caret = {};
    m_caretDropped = false;
    m_selectionLost = false;
    m_top = m_shownTop = 0;
    m_dirtyFrom = INT_MAX;
    m_repaintAll = true;
    scheduleFrame();
    emit linesRemoved(count);
}

// --- selection ------------------------------------------------------------

int TerminalPane::selectionStartLine() const
{
    return m_caretDropped ? -1 : std::min(m_anchor, m_caret).line;
}

TerminalPane::Position TerminalPane::selectionStart() const
{
    return std::min(m_anchor, m_caret);
}

TerminalPane::Position TerminalPane::selectionEnd() const
{
    return std::max(m_anchor, m_caret);
}

QString TerminalPane::selectedText() const
{
    const Position from = selectionStart();
    const Position to = selectionEnd();
    if (from == to || lineCount() == 0)
        return {};
    QStringList parts;
    for (int l = from.line; l <= to.line && l < lineCount(); ++l) {
        const QString& s = m_text.line(l);
        const int a = (l == from.line) ? from.column : 0;
        const int b = (l == to.line) ? to.column : static_cast<int>(s.size());
        parts.append(s.mid(a, b - a));
    }
    return parts.join(QLatin1Char('\n'));
}

void TerminalPane::selectAll()
{
    m_anchor = {};
    m_caret = lineCount() == 0
                  ? Position{}
                  : Position{lineCount() - 1, static_cast<int>(m_text.line(lineCount() - 1).size())};
    m_caretDropped = false;
    m_repaintAll = true;
    scheduleFrame();
    emit selectionChanged();
}

QMetaObject::Connection TerminalPane::followSelection(QObject* receiver,
                                                     std::function<void()> slot)
{
    return connect(this, &TerminalPane::selectionChanged, receiver, std::move(slot));
}

void TerminalPane::setSelection(Position anchor, Position caret)
{
    const auto valid = [this](Position p) {
        if (lineCount() == 0)
            return Position{};
        p.line = std::clamp(p.line, 0, lineCount() - 1);
        p.column = std::clamp(p.column, 0, static_cast<int>(m_text.line(p.line).size()));
        return p;
    };
    m_anchor = valid(anchor);
    m_caret = valid(caret);
    m_caretDropped = false;
    m_repaintAll = true;
    scheduleFrame();
    emit selectionChanged();
}

// --- look -----------------------------------------------------------------

void TerminalPane::setTextColor(const QColor& color)
{
    m_textColor = color;
    m_repaintAll = true;
    scheduleFrame();
}

void TerminalPane::setPaneFont(const QFont& font)
{
    setFont(font);
}

void TerminalPane::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        const QFontMetrics fm = fontMetrics();
        m_lineHeight = std::max(1, fm.lineSpacing());
        m_ascent = fm.ascent();
        m_shaped.clear();
        m_shapedParts.clear();
        m_long.clear();
        m_advance.clear();
        m_maxWidth = 0;
        for (int i = 0; i < lineCount(); ++i) {
            const int width = measure(i);
            m_widths[static_cast<size_t>(i)] = width;
            m_maxWidth = std::max(m_maxWidth, width);
        }
        m_top = std::min(m_top, bottomTop());
        m_repaintAll = true;
        syncScrollBars();
        showChanges();
    }
    QAbstractScrollArea::changeEvent(event);
}

// --- view -----------------------------------------------------------------

int TerminalPane::visibleRows() const
{
    return std::max(1, viewport()->height() / m_lineHeight);
}

// The first line of the view when the last line is at the bottom.
int TerminalPane::bottomTop() const
{
    return std::max(0, lineCount() - visibleRows());
}

void TerminalPane::scheduleFrame()
{
    if (m_frame.isActive() || m_framePosted)
        return;
    const qint64 since = m_sinceFrame.isValid() ? m_sinceFrame.elapsed() : kFrameMs;
    if (since < kFrameMs) {
        m_frame.start(static_cast<int>(kFrameMs - since));
        return;
    }
    // The last frame is long past: this one is shown as soon as the events
    // at hand are handled. A posted call runs before the window's pending
    // repaint, so what the same events changed elsewhere in the window (the
    // line counter) is painted and sent to the display with it, in one go.
    m_framePosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_framePosted = false;
            showFrame();
        },
        Qt::QueuedConnection);
}

void TerminalPane::showFrame()
{
    m_sinceFrame.start();
    syncScrollBars();
    showChanges();
}

void TerminalPane::syncScrollBars()
{
    const QScopedValueRollback<bool> ours(m_syncingBars, true);
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    const PaneScrollBar::Batch vertical(v);
    const PaneScrollBar::Batch horizontal(h);
    const int visible = visibleRows();
    v->setPageStep(visible);
    v->setSingleStep(1);
    v->setRange(0, std::max(0, lineCount() - visible));
    v->setValue(m_top);
    const int width = viewport()->width();
    h->setPageStep(width);
    h->setSingleStep(fontMetrics().averageCharWidth());
    h->setRange(0, std::max(0, m_maxWidth + 2 * kMargin - width));
}

// Brings the pixels on screen up to the view: the rows already drawn are
// moved, and only the rows that came into view or got a new line are painted.
void TerminalPane::showChanges()
{
    QWidget* vp = viewport();
    const int h = m_lineHeight;
    const int rows = vp->height() / h + 2;
    const int delta = m_top - m_shownTop;
    if (m_repaintAll || std::abs(delta) >= rows) {
        vp->update();
    } else {
        if (delta != 0)
            vp->scroll(0, -delta * h);
        if (m_dirtyFrom != INT_MAX) {
            const int r0 = std::max(m_dirtyFrom, m_top) - m_top;
            const int r1 = std::min(lineCount(), m_top + rows) - m_top;
            if (r1 > r0)
                vp->update(QRect(0, r0 * h, vp->width(), (r1 - r0) * h));
        }
    }
    m_shownTop = m_top;
    m_dirtyFrom = INT_MAX;
    m_repaintAll = false;
}

void TerminalPane::scrollContentsBy(int dx, int dy)
{
    if (m_syncingBars) {
        // The pane moved its own bars; a horizontal move made by a shorter
        // widest line is shown in full.
        if (dx != 0)
            m_repaintAll = true;
        return;
    }
    // The user moved a scroll bar.
    m_top = verticalScrollBar()->value();
    if (dx != 0)
        m_repaintAll = true;
    Q_UNUSED(dy);
    showChanges();
}

void TerminalPane::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    const int maxTop = std::max(0, lineCount() - visibleRows());
    m_top = std::min(m_top, maxTop);
    m_repaintAll = true;
    syncScrollBars();
    showChanges();
}

// --- geometry -------------------------------------------------------------

const TerminalPane::LongLine* TerminalPane::longLine(int index) const
{
    const auto it = m_long.constFind(keyOf(index));
    return it == m_long.constEnd() ? nullptr : &*it;
}

// The x of a character's left edge, from the start of its line.
int TerminalPane::xOf(int index, int column) const
{
    const QString& s = m_text.line(index);
    column = std::clamp(column, 0, static_cast<int>(s.size()));
    const LongLine* parts = longLine(index);
    if (!parts)
        return fontMetrics().horizontalAdvance(s.left(column));
    const auto k = std::upper_bound(parts->start.begin(), parts->start.end() - 1, column) -
                   parts->start.begin() - 1;
    const int a = parts->start.at(k);
    return parts->x.at(k) + fontMetrics().horizontalAdvance(s.mid(a, column - a));
}

QRect TerminalPane::lineRect(int index) const
{
    const int x0 = kMargin - horizontalScrollBar()->value();
    const int width = (index >= 0 && index < lineCount())
                          ? m_widths[static_cast<size_t>(index)]
                          : 0;
    return QRect(x0, (index - m_top) * m_lineHeight, std::max(1, width), m_lineHeight);
}

QRect TerminalPane::characterRect(Position position) const
{
    if (position.line < 0 || position.line >= lineCount())
        return {};
    const QString& s = m_text.line(position.line);
    const int column = std::clamp(position.column, 0, static_cast<int>(s.size()));
    const int x = xOf(position.line, column);
    const int w = column < s.size() ? fontMetrics().horizontalAdvance(s.at(column)) : 1;
    return QRect(kMargin - horizontalScrollBar()->value() + x,
                 (position.line - m_top) * m_lineHeight, std::max(1, w), m_lineHeight);
}

TerminalPane::Position TerminalPane::positionAt(const QPoint& viewportPoint) const
{
    return positionAt(viewportPoint, m_top);
}

void TerminalPane::ensureLineVisible(int line)
{
    const int rows = visibleRows();
    if (line < m_top)
        m_top = std::max(0, line);
    else if (line >= m_top + rows)
        m_top = std::min(line - rows + 1, std::max(0, lineCount() - rows));
    else
        return;
    scheduleFrame();
}

TerminalPane::Position TerminalPane::positionAt(const QPoint& pt, int top) const
{
    if (lineCount() == 0)
        return {};
    const int l = std::clamp(top + pt.y() / m_lineHeight, 0, lineCount() - 1);
    return {l, columnAt(l, pt.x() - kMargin + horizontalScrollBar()->value())};
}

// The caret position nearest to x (from the start of the line): before the
// character whose right half x falls short of.
int TerminalPane::columnAt(int index, int x) const
{
    int lo = 0;
    int hi = static_cast<int>(m_text.line(index).size());
    if (const LongLine* parts = longLine(index)) {
        const auto k =
            std::upper_bound(parts->x.begin(), parts->x.end() - 1, x) - parts->x.begin() - 1;
        if (k >= 0) {
            lo = parts->start.at(k);
            hi = parts->start.at(k + 1);
        } else {
            hi = 0;
        }
    }
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (xOf(index, mid) + xOf(index, mid + 1) > 2 * x)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

// --- painting -------------------------------------------------------------

void TerminalPane::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    p.setFont(font());
    const int h = m_lineHeight;
    const int x0 = kMargin - horizontalScrollBar()->value();
    const QRect area = event->rect();
    // A glyph may reach into the row above or below its own.
    const int rFirst = std::max(0, area.top() / h - 1);
    const int rLast = area.bottom() / h + 1;
    const Position from = selectionStart();
    const Position to = selectionEnd();
    const QPalette pal = palette();
    for (int r = rFirst; r <= rLast; ++r) {
        const int l = m_shownTop + r;
        if (l >= lineCount())
            break;
        const int y = r * h;
        if (from != to && l >= from.line && l <= to.line) {
            const QString& s = m_text.line(l);
            const int a = (l == from.line) ? from.column : 0;
            const int b = (l == to.line) ? to.column : static_cast<int>(s.size());
            const int xa = x0 + xOf(l, a);
            const int xb = x0 + xOf(l, b) + (l == to.line ? 0 : fontMetrics().averageCharWidth());
            p.fillRect(QRect(xa, y, xb - xa, h), pal.color(QPalette::Highlight));
        }
        p.setPen(m_textColor);
        paintLine(p, l, x0, y);
    }

    // Shaped text is kept for the lines in view only.
    trimShapes();
    const int rows = viewport()->height() / h + 2;
    const qint64 lo = keyOf(m_shownTop) - rows;
    const qint64 hi = keyOf(m_shownTop) + 2 * rows;
    if (m_shapedParts.size() > 16 * rows) {
        // Parts out of view horizontally go too: all but those just painted.
        m_shapedParts.removeIf([&](const auto& item) {
            const qint64 line = item.key() >> 20;
            return line < lo || line > hi || !m_paintedParts.contains(item.key());
        });
    }
    m_paintedParts.clear();
}

void TerminalPane::paintLine(QPainter& p, int index, int x0, int y)
{
    const QString& s = m_text.line(index);
    if (s.isEmpty())
        return;
    const LongLine* parts = longLine(index);
    if (!parts) {
        const qint64 key = keyOf(index);
        auto it = m_shaped.find(key);
        if (it == m_shaped.end()) {
            int width = 0;
            it = m_shaped.insert(key, shape(s, &width));
        }
        // On the pane's baseline, whatever fonts the line's glyphs came from.
        const QPointF at(x0, y + m_ascent - it->ascent);
        for (const QGlyphRun& run : std::as_const(it->runs))
            p.drawGlyphRun(at, run);
        return;
    }
    // Only the parts that reach into the viewport.
    const int left = -x0;
    const int right = left + viewport()->width();
    const qsizetype n = parts->start.size() - 1;
    qsizetype k = std::upper_bound(parts->x.begin(), parts->x.begin() + n, left) -
                  parts->x.begin() - 1;
    for (k = std::max<qsizetype>(0, k - 1); k < n && parts->x.at(k) <= right; ++k) {
        const qint64 key = (keyOf(index) << 20) | k;
        auto it = m_shapedParts.find(key);
        if (it == m_shapedParts.end()) {
            const int a = parts->start.at(k);
            QStaticText shaped(s.mid(a, parts->start.at(k + 1) - a));
            shaped.setTextFormat(Qt::PlainText);
            shaped.setPerformanceHint(QStaticText::AggressiveCaching);
            shaped.prepare(QTransform(), font());
            it = m_shapedParts.insert(key, shaped);
        }
        p.drawStaticText(QPointF(x0 + parts->x.at(k), y), *it);
        m_paintedParts.insert(key);
    }
}

// --- mouse and keys -------------------------------------------------------

void TerminalPane::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        // The click lands on what the screen shows.
        m_anchor = m_caret = positionAt(event->position().toPoint(), m_shownTop);
        m_caretDropped = false;
        m_selecting = true;
        m_repaintAll = true;
        scheduleFrame();
        emit selectionChanged();
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void TerminalPane::mouseMoveEvent(QMouseEvent* event)
{
    if (m_selecting) {
        const Position caret = positionAt(event->position().toPoint(), m_shownTop);
        if (caret != m_caret) {
            m_caret = caret;
            m_repaintAll = true;
            scheduleFrame();
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
