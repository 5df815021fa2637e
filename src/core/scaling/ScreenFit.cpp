#include "scaling/ScreenFit.h"

#include <algorithm>

namespace ScreenFit {

bool fullyOnAScreen(const QRect& frame, const QList<QRect>& workAreas)
{
    return std::any_of(workAreas.begin(), workAreas.end(),
                       [&frame](const QRect& area) { return area.contains(frame); });
}

QRect fitted(const QRect& window, const QMargins& frame, const QRect& workArea,
             const QRect& centreOn, const QSize& minimum)
{
    if (workArea.isEmpty())
        return window;
    // The frame's outer rectangle is what must fit.
    const int extraW = frame.left() + frame.right();
    const int extraH = frame.top() + frame.bottom();
    QSize outer(window.width() + extraW, window.height() + extraH);
    outer = outer.boundedTo(workArea.size());
    outer = outer.expandedTo(QSize(minimum.width() + extraW, minimum.height() + extraH));
    QRect place(window.topLeft() - QPoint(frame.left(), frame.top()), outer);
    if (centreOn.isValid())
        place.moveCenter(centreOn.center());
    // The right and bottom edges first, then the left and top: a window
    // larger than the work area keeps its title bar on the screen.
    if (place.right() > workArea.right())
        place.moveRight(workArea.right());
    if (place.bottom() > workArea.bottom())
        place.moveBottom(workArea.bottom());
    if (place.left() < workArea.left())
        place.moveLeft(workArea.left());
    if (place.top() < workArea.top())
        place.moveTop(workArea.top());
    return place.marginsRemoved(frame);
}

} // namespace ScreenFit
