#include "scaling/Taskbar.h"

#include <algorithm>

Taskbar Taskbar::fromWorkArea(const QRect& monitor, const QRect& workArea)
{
    const int sw = monitor.width();
    const int sh = monitor.height();
    const int atTop = workArea.top() - monitor.top();
    const int atLeft = workArea.left() - monitor.left();
    const int atRight = (monitor.left() + sw) - (workArea.left() + workArea.width());
    const int atBottom = (monitor.top() + sh) - (workArea.top() + workArea.height());
    const int thickest = std::max({atTop, atLeft, atRight, atBottom});
    Taskbar t;
    if (thickest <= 0)
        return t;
    if (atBottom == thickest) {
        t = {0, sh - atBottom, sw, sh, Bottom, false};
    } else if (atTop == thickest) {
        t = {0, 0, sw, atTop, Top, false};
    } else if (atLeft == thickest) {
        t = {0, 0, atLeft, sh, Left, false};
    } else {
        t = {sw - atRight, 0, sw, sh, Right, false};
    }
    return t;
}

QSize Taskbar::reduce(const QSize& screen, bool validTaskbar)
{
    int sw = screen.width();
    int sh = screen.height();
    if (edge == Unknown)
        return screen;
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, sw);
    bottom = std::min(bottom, sh);
    if (autoHide) {
        switch (edge) {
        case Top:
            bottom = top;
            break;
        case Left:
            right = left;
            break;
        case Right:
            left = right;
            break;
        case Bottom:
            top = bottom;
            break;
        }
    }
    if (validTaskbar) {
        if (edge == Left || edge == Right)
            sw -= width();
        else
            sh -= height();
    }
    return QSize(sw, sh);
}
