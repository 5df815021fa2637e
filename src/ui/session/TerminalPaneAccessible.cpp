#include "session/TerminalPaneAccessible.h"

#include "session/TerminalPaneTextEvents.h"

#include <QTextBoundaryFinder>
#include <QWidget>

namespace {

QAccessibleInterface* terminalPaneFactory(const QString& className, QObject* object)
{
    // The class name first: the browser asks for interfaces of objects that
    // are being made or destroyed, which must not be touched.
    if (className != QLatin1String("TerminalPane") || !object || !object->isWidgetType())
        return nullptr;
    if (auto* view = dynamic_cast<PaneView*>(object))
        return new TerminalPaneAccessible(static_cast<QWidget*>(object), view);
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

TerminalPaneAccessible::TerminalPaneAccessible(QWidget* pane, PaneView* view)
    : QAccessibleWidget(pane, QAccessible::EditableText), m_view(view)
{
    // Whoever asks for the text is told of its changes from now on.
    TerminalPaneTextEvents::of(pane, view);
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
        return widget()->accessibleName().isEmpty() ? widget()->toolTip()
                                                    : widget()->accessibleName();
    case QAccessible::Description:
        return widget()->accessibleDescription().isEmpty() ? widget()->toolTip()
                                                           : widget()->accessibleDescription();
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
    *startOffset = paneText().offsetOf(m_view->selectionStart());
    *endOffset = paneText().offsetOf(m_view->selectionEnd());
}

int TerminalPaneAccessible::selectionCount() const
{
    return m_view->selectionStart() == m_view->selectionEnd() ? 0 : 1;
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
    const PaneView::Position caret = m_view->caretPosition();
    m_view->setSelection(caret, caret);
}

void TerminalPaneAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    m_view->setSelection(paneText().positionOf(startOffset), paneText().positionOf(endOffset));
}

int TerminalPaneAccessible::cursorPosition() const
{
    return paneText().offsetOf(m_view->caretPosition());
}

void TerminalPaneAccessible::setCursorPosition(int position)
{
    const PaneView::Position p = paneText().positionOf(position);
    m_view->setSelection(p, p);
}

// --- text ---------------------------------------------------------------

int TerminalPaneAccessible::characterCount() const
{
    return paneText().offsets().characterCount();
}

QString TerminalPaneAccessible::text(int startOffset, int endOffset) const
{
    return paneText().text(startOffset, endOffset);
}

void TerminalPaneAccessible::segmentAt(int offset, QAccessible::TextBoundaryType boundaryType,
                                       int* startOffset, int* endOffset) const
{
    const LineOffsets& o = paneText().offsets();
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
                               paneText().line(p.line));
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
    if (offset < 0 || offset > characterCount() || paneText().lineCount() == 0)
        return {};
    const QRect local = m_view->characterRect(paneText().positionOf(offset));
    if (local.isNull())
        return {};
    return QRect(m_view->textViewport()->mapToGlobal(local.topLeft()), local.size());
}

int TerminalPaneAccessible::offsetAtPoint(const QPoint& point) const
{
    const QWidget* viewport = m_view->textViewport();
    const QPoint local = viewport->mapFromGlobal(point);
    if (!viewport->rect().contains(local) || paneText().lineCount() == 0)
        return -1;
    return paneText().offsetOf(m_view->positionAt(local));
}

void TerminalPaneAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    Q_UNUSED(endIndex);
    m_view->ensureLineVisible(paneText().positionOf(startIndex).line);
}

QString TerminalPaneAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    Q_UNUSED(offset);
    // Every line looks the same: one run over the whole text.
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}
