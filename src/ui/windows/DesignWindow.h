#pragma once

#include <QFont>
#include <QSize>

class QWidget;
class TResizeKit;

// What every designed window does before and after its form is set up: the
// design font, the design size, a place in the middle of its screen, and the
// scaling component that keeps its controls in proportion.
//
//   DesignWindow::setUp(this, {805, 763});   // before setupUi
//   ui.setupUi(this);
//   ResizeKit1 = DesignWindow::attachScaling(this, {805, 763});
class DesignWindow
{
public:
    enum class Placement
    {
        CentreNow,   // centred at once (a window shown later stays there)
        CentreOnShow // the window calls centre() itself when it is shown
    };

    // Font (the design family at 9 points) and size; centred on its screen
    // unless told otherwise.
    static void setUp(QWidget* window, QSize designSize,
                      Placement placement = Placement::CentreNow);

    // Moves the window to the middle of the available area of its screen
    // (the primary screen while it has none).
    static void centre(QWidget* window);

    // Made last, once every control is in place: the component registers
    // the controls it finds at attach time, at the design's 96 dpi.
    static TResizeKit* attachScaling(QWidget* window, QSize designSize);

    // The design family in a size of pixels: a form can only give points,
    // and the scaling component treats pixel fonts as the design's own.
    static QFont pixelFont(int pixels, bool bold = false, bool italic = false,
                           bool underline = false);
};
