#pragma once

#include "session/PaneView.h"

#include <QAccessibleWidget>

// What assistive technology (Orca, through AT-SPI) sees of a terminal pane:
// read-only text with a name, the whole text, its lines, the caret and the
// selection, and where each character is on the screen. Offsets count UTF-16
// code units over the lines joined with "\n".
//
// The pane paints its lines by hand for speed; this gives a screen reader the
// text a standard text control would give. It reads the pane's text and its
// offsets directly, and the rest through the pane's PaneView.
class TerminalPaneAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    TerminalPaneAccessible(QWidget* pane, PaneView* view);

    // Makes every widget that is a PaneView answer with this interface; once
    // is enough, more calls do nothing.
    static void install();

    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    const PaneText& paneText() const { return m_view->paneText(); }
    // The stretch of text of the given kind that holds the offset.
    void segmentAt(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                   int* endOffset) const;

    PaneView* m_view;
};
