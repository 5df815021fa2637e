#pragma once

#include "scaling/Taskbar.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// How large a window may become and where a maximized one sits. Sizes and
// rectangles are of the whole window, frame included; a limit of 0 means
// none, and a pair of limits counts only when both values are set.
class SizeLimits
{
public:
    int maxWidth = 0;
    int maxHeight = 0;
    int minWidth = 0;
    int minHeight = 0;

    bool hasMax() const { return maxWidth > 0 && maxHeight > 0; }
    bool hasMin() const { return minWidth > 0 && minHeight > 0; }

    struct Answer
    {
        QSize maxSize;      // maximized size, also the largest size a drag may reach
        QPoint maxPosition; // where the maximized window sits
    };

    // The answer to the system's question about the maximized window. screen
    // is the monitor's size, taskbar its panel and validTaskbar whether the
    // panel's room stays free. A maximized window without both maximum
    // sizes is left to its own handling (empty answer). window is the window
    // rectangle, workArea the monitor's work area, both in the same
    // coordinates; proposed is the position the system would use.
    std::optional<Answer> query(const QSize& screen, Taskbar taskbar, bool validTaskbar,
                                bool maximized, const QRect& window, const QRect& workArea,
                                const QPoint& proposed) const;

    // A rectangle being dragged, kept within the limits by moving its right
    // and bottom edges.
    QRect drag(const QRect& dragged) const;

    // After a maximize: with both maximum sizes, a window reaching beyond the
    // monitor at the right or the bottom is moved back onto it; otherwise,
    // under a visual style that draws its own frame, the window keeps its
    // top-left corner and takes the monitor size less that corner. Empty when
    // nothing changes.
    std::optional<QRect> maximizeCorrection(const QRect& window, const QRect& monitor,
                                            bool styleDrawsFrame) const;
};
