#include "scaling/SizeLimits.h"

#include <algorithm>

std::optional<SizeLimits::Answer> SizeLimits::query(const QSize& screen, Taskbar taskbar,
                                                    bool validTaskbar, bool maximized,
                                                    const QRect& window, const QRect& workArea,
                                                    const QPoint& proposed) const
{
    const QSize reduced = taskbar.reduce(screen, validTaskbar);
    const int sw = reduced.width();
    const int sh = reduced.height();
    if (!hasMax() && maximized)
        return std::nullopt;
    const int mw = std::min(hasMax() ? maxWidth : sw, sw);
    const int mh = std::min(hasMax() ? maxHeight : sh, sh);

    Answer a{QSize(mw, mh), proposed};
    if (hasMax()) {
        // Right and bottom edges are exclusive here.
        const int rRight = window.left() + window.width();
        const int rBottom = window.top() + window.height();
        const int waRight = workArea.left() + workArea.width();
        const int waBottom = workArea.top() + workArea.height();
        const int tw = taskbar.edge == Taskbar::Left ? taskbar.width() : 0;
        const int th = taskbar.edge == Taskbar::Top ? taskbar.height() : 0;
        int px;
        if (window.left() < workArea.left())
            px = tw;
        else if (rRight <= waRight)
            px = tw > 0 && window.left() == workArea.left() ? tw : window.left() - workArea.left();
        else
            px = waRight - mw + tw;
        int py;
        if (window.top() < workArea.top())
            py = th;
        else if (rBottom <= waBottom)
            py = th > 0 && window.top() == workArea.top() ? th : window.top() - workArea.top();
        else
            py = sh - mh + th;
        a.maxPosition = QPoint(px < workArea.left() ? 0 : px, py < workArea.top() ? 0 : py);
    }
    return a;
}

QRect SizeLimits::drag(const QRect& dragged) const
{
    QRect r = dragged;
    if (hasMax()) {
        r.setWidth(std::min(r.width(), maxWidth));
        r.setHeight(std::min(r.height(), maxHeight));
    }
    if (hasMin()) {
        r.setWidth(std::max(r.width(), minWidth));
        r.setHeight(std::max(r.height(), minHeight));
    }
    return r;
}

std::optional<QRect> SizeLimits::maximizeCorrection(const QRect& window, const QRect& monitor,
                                                    bool styleDrawsFrame) const
{
    if (hasMax()) {
        QRect r = window;
        const int monRight = monitor.left() + monitor.width();
        const int monBottom = monitor.top() + monitor.height();
        if (r.left() + r.width() > monRight)
            r.moveLeft(monRight - r.width());
        if (r.top() + r.height() > monBottom)
            r.moveTop(monBottom - r.height());
        if (r == window)
            return std::nullopt;
        return r;
    }
    if (styleDrawsFrame)
        return QRect(window.topLeft(),
                     QSize(monitor.width() - window.left(), monitor.height() - window.top()));
    return std::nullopt;
}
