#pragma once

#include <QRect>
#include <QSize>

// The taskbar (panel) of a monitor, in coordinates relative to the monitor's
// top-left corner, with exclusive right and bottom edges.
class Taskbar
{
public:
    enum Edge
    {
        Unknown = -1,
        Top = 0,
        Left = 1,
        Right = 2,
        Bottom = 3
    };

    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int edge = Unknown;
    bool autoHide = false;

    int width() const { return right - left; }
    int height() const { return bottom - top; }

    // The panel as the difference between the monitor and its work area: the
    // widest strip the work area leaves free, on its edge. A work area equal
    // to the monitor means no panel (edge Unknown, no room taken). A panel
    // that hides itself takes no room from the work area, so it never shows
    // here.
    static Taskbar fromWorkArea(const QRect& monitor, const QRect& workArea);

    // The screen size less the room the panel takes. The panel is first
    // clipped to the screen; one that hides itself collapses onto its outer
    // side. Without validTaskbar the size stays whole. Returns the reduced
    // size; the clipped panel replaces this one.
    QSize reduce(const QSize& screen, bool validTaskbar);
};
