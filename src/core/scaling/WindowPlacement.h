#pragma once

#include "scaling/TResizeFormPos.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// Where a window goes when it is first shown. Sizes and positions are of the
// whole window, frame included.
class WindowPlacement
{
public:
    // An invisible frame around the visible one: how far the visible frame
    // lies inside the window rectangle at the left and the top, and the
    // totals of both sides. All 0 where the window rectangle is the visible
    // frame.
    struct FrameMargins
    {
        int left = 0;
        int top = 0;
        int h = 0;
        int v = 0;
    };

    // The size to show the window at: the chosen first-show size when both
    // values are set, otherwise the current size; never larger than the
    // monitor.
    static QSize firstShowSize(int formWidth, int formHeight, const QSize& current,
                               const QSize& monitor);

    // The top-left corner for a window of the given size, whose top-left is
    // now at topLeft, on the work area workArea. The window is first pulled
    // back inside the work area's right and bottom edges, then pos places it
    // (rpDefault keeps it). Without frame margins (or without a compositor to
    // draw them) it also never starts above or left of the work area. A
    // maximized window stays where it is (empty result).
    static std::optional<QPoint> place(TResizeFormPos pos, const QPoint& topLeft, const QSize& size,
                                       const QRect& workArea, const FrameMargins& margins,
                                       bool compositor, bool maximized);
};
