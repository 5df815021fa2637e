#include "session/TerminalPaneAccessible.h"

#include "session/TerminalPane.h"
#include "session/TerminalPaneTextEvents.h"

#include <QTextBoundaryFinder>

namespace {

QAccessibleInterface* terminalPaneFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TerminalPane") && object && object->isWidgetType())
        return new TerminalPaneAccessible(static_cast<TerminalPane*>(object));
    return nullptr;
}

// Offset -2 stands for the caret in the accessibility interfaces.
constexpr int kCaretOffset = -2;

} // namespace

void TerminalPaneAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(&terminalPaneFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

TerminalPaneAccessible::TerminalPaneAccessible(TerminalPane* pane)
    : QAccessibleWidget(pane, QAccessible::EditableText)
{}

TerminalPane* TerminalPaneAccessible::pane() const
{
    return static_cast<TerminalPane*>(widget());
}

TerminalPaneTextEvents* TerminalPaneAccessible::events() const
{
    return TerminalPaneTextEvents::of(pane());
}

QAccessible::Role TerminalPaneAccessible::role() const
{
    return QAccessible::EditableText;
}

QAccessible::State TerminalPaneAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.editable = false;
    s.multiLine = true;
    s.selectableText = true;
    s.focusable = true;
    return s;
}

QString TerminalPaneAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        return pane()->accessibleName().isEmpty() ? pane()->toolTip() : pane()->accessibleName();
    case QAccessible::Description:
        return pane()->accessibleDescription().isEmpty() ? pane()->toolTip()
                                                         : pane()->accessibleDescription();
    default:
        return QAccessibleWidget::text(t);
    }
}

void* TerminalPaneAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

// --- selection and caret ------------------------------------------------

void TerminalPaneAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || selectionCount() == 0)
        return;
    *startOffset = events()->offsetOf(pane()->selectionStart());
    *endOffset = events()->offsetOf(pane()->selectionEnd());
}

int TerminalPaneAccessible::selectionCount() const
{
    return pane()->selectionStart() == pane()->selectionEnd() ? 0 : 1;
}

void TerminalPaneAccessible::addSelection(int startOffset, int endOffset)
{
    // The pane holds one selection; a new one replaces it.
    setSelection(0, startOffset, endOffset);
}

void TerminalPaneAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    const TerminalPane::Position caret = pane()->caretPosition();
    pane()->setSelection(caret, caret);
}

void TerminalPaneAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    pane()->setSelection(events()->positionOf(startOffset), events()->positionOf(endOffset));
}

int TerminalPaneAccessible::cursorPosition() const
{
    return events()->offsetOf(pane()->caretPosition());
}

void TerminalPaneAccessible::setCursorPosition(int position)
{
    const TerminalPane::Position p = events()->positionOf(position);
    pane()->setSelection(p, p);
}

// --- text ---------------------------------------------------------------

int TerminalPaneAccessible::characterCount() const
{
    return events()->offsets().characterCount();
}

QString TerminalPaneAccessible::text(int startOffset, int endOffset) const
{
    const int count = characterCount();
    startOffset = std::clamp(startOffset, 0, count);
    endOffset = std::clamp(endOffset, startOffset, count);
    if (startOffset == endOffset)
        return {};
    const TerminalPane::Position from = events()->positionOf(startOffset);
    const TerminalPane::Position to = events()->positionOf(endOffset);
    QString out;
    out.reserve(endOffset - startOffset);
    for (int l = from.line; l <= to.line; ++l) {
        const QString s = pane()->line(l);
        const int a = l == from.line ? from.column : 0;
        const int b = l == to.line ? to.column : static_cast<int>(s.size());
        if (l > from.line)
            out += QLatin1Char('\n');
        out += QStringView(s).mid(a, std::max(0, b - a));
    }
    return out;
}

void TerminalPaneAccessible::segmentAt(int offset, QAccessible::TextBoundaryType boundaryType,
                                       int* startOffset, int* endOffset) const
{
    const LineOffsets& o = events()->offsets();
    const int count = o.characterCount();
    *startOffset = *endOffset = 0;
    if (boundaryType == QAccessible::NoBoundary) {
        *endOffset = count;
        return;
    }
    if (o.lineCount() == 0 || offset < 0 || offset > count)
        return;
    const LineOffsets::Position p = o.positionOf(offset);
    const int lineStart = o.lineStart(p.line);
    const int lineLength = o.lineLength(p.line);
    switch (boundaryType) {
    case QAccessible::LineBoundary:
    case QAccessible::SentenceBoundary:
    case QAccessible::ParagraphBoundary:
        // A pane line never wraps: a line, a sentence and a paragraph are one.
        *startOffset = lineStart;
        *endOffset = lineStart + lineLength;
        return;
    default:
        break;
    }
    if (p.column >= lineLength) {
        // The line end between two lines, or the end of the text.
        *startOffset = offset;
        *endOffset = offset < count ? offset + 1 : offset;
        return;
    }
    QTextBoundaryFinder finder(boundaryType == QAccessible::WordBoundary
                                   ? QTextBoundaryFinder::Word
                                   : QTextBoundaryFinder::Grapheme,
                               pane()->line(p.line));
    finder.setPosition(p.column);
    const int from =
        finder.isAtBoundary() ? p.column : std::max<int>(0, finder.toPreviousBoundary());
    finder.setPosition(p.column);
    const qsizetype next = finder.toNextBoundary();
    const int to = next < 0 ? lineLength : static_cast<int>(next);
    *startOffset = lineStart + from;
    *endOffset = lineStart + to;
}

QString TerminalPaneAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                             int* startOffset, int* endOffset) const
{
    if (offset == kCaretOffset)
        offset = cursorPosition();
    segmentAt(offset, boundaryType, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

QString TerminalPaneAccessible::textBeforeOffset(int offset,
                                                 QAccessible::TextBoundaryType boundaryType,
                                                 int* startOffset, int* endOffset) const
{
    if (offset == kCaretOffset)
        offset = cursorPosition();
    int s = 0;
    int e = 0;
    segmentAt(offset, boundaryType, &s, &e);
    *startOffset = *endOffset = 0;
    if (s <= 0 || boundaryType == QAccessible::NoBoundary)
        return {};
    segmentAt(s - 1, boundaryType, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

QString TerminalPaneAccessible::textAfterOffset(int offset,
                                                QAccessible::TextBoundaryType boundaryType,
                                                int* startOffset, int* endOffset) const
{
    if (offset == kCaretOffset)
        offset = cursorPosition();
    const int count = characterCount();
    int s = 0;
    int e = 0;
    segmentAt(offset, boundaryType, &s, &e);
    // A line segment stops before its line end; the next line starts after it.
    const bool lineLike = boundaryType == QAccessible::LineBoundary ||
                          boundaryType == QAccessible::SentenceBoundary ||
                          boundaryType == QAccessible::ParagraphBoundary;
    const int next = lineLike ? e + 1 : e;
    *startOffset = *endOffset = count;
    if (boundaryType == QAccessible::NoBoundary || next > count || (next == count && !lineLike))
        return {};
    segmentAt(next, boundaryType, startOffset, endOffset);
    return text(*startOffset, *endOffset);
}

// --- geometry -----------------------------------------------------------

QRect TerminalPaneAccessible::characterRect(int offset) const
{
    if (offset < 0 || offset > characterCount() || pane()->lineCount() == 0)
        return {};
    const QRect local = pane()->characterRect(events()->positionOf(offset));
    if (local.isNull())
        return {};
    return QRect(pane()->viewport()->mapToGlobal(local.topLeft()), local.size());
}

int TerminalPaneAccessible::offsetAtPoint(const QPoint& point) const
{
    const QPoint local = pane()->viewport()->mapFromGlobal(point);
    if (!pane()->viewport()->rect().contains(local) || pane()->lineCount() == 0)
        return -1;
    return events()->offsetOf(pane()->positionAt(local));
}

void TerminalPaneAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    Q_UNUSED(endIndex);
    pane()->ensureLineVisible(events()->positionOf(startIndex).line);
}

QString TerminalPaneAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    Q_UNUSED(offset);
    // Every line looks the same: one run over the whole text.
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}
