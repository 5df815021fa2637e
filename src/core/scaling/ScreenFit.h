#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

// Where a window of our own (not the designed main window) opens: fully on
// a screen, never partly off it.
namespace ScreenFit {

// True when the frame lies wholly inside one of the screens' work areas.
bool fullyOnAScreen(const QRect& frame, const QList<QRect>& workAreas);

// The window rectangle (without its frame) for a window of the given
// rectangle and frame margins, moved and if need be shrunk so that its frame
// lies wholly inside workArea, the work area of the screen that holds the
// main window. When centreOn is valid the window is first centred on it (the
// main window's frame), as for a window opened the first time; otherwise it
// moves only as far as it must. Never smaller than minimum.
QRect fitted(const QRect& window, const QMargins& frame, const QRect& workArea,
             const QRect& centreOn = {}, const QSize& minimum = {});

} // namespace ScreenFit
