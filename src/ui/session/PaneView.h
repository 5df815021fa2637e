#pragma once

#include "session/PaneText.h"

#include <QMetaObject>
#include <QPoint>
#include <QRect>

#include <functional>

class QObject;
class QWidget;

// What the accessible interface of a pane of node text, and the announcer
// beside it, need of the widget that shows it: its text, where each character
// is on the screen, and the selection. The widget implements this; the two
// readers know nothing else of it, so the widget can set up its accessible
// interface without the two depending back on it.
class PaneView
{
public:
    using Position = PaneText::Position;

    virtual ~PaneView() = default;

    virtual const PaneText& paneText() const = 0;
    // The widget the lines are painted on; character rectangles and points
    // are in its coordinates.
    virtual QWidget* textViewport() const = 0;

    // Where the selection starts and ends, in text order, and the caret (the
    // end a click or a drag left last). All equal when nothing is selected.
    virtual Position selectionStart() const = 0;
    virtual Position selectionEnd() const = 0;
    virtual Position caretPosition() const = 0;
    // Selects from anchor to caret (equal positions: no selection, caret there).
    virtual void setSelection(Position anchor, Position caret) = 0;
    // Calls slot, in receiver's lifetime, whenever the selection or the caret
    // moved.
    virtual QMetaObject::Connection followSelection(QObject* receiver,
                                                    std::function<void()> slot) = 0;

    // The character at a position, in viewport coordinates.
    virtual QRect characterRect(Position position) const = 0;
    // The character position nearest to a point of the viewport.
    virtual Position positionAt(const QPoint& viewportPoint) const = 0;
    // Scrolls as little as needed to bring the line into view.
    virtual void ensureLineVisible(int line) = 0;
};
