#pragma once

#include <QColor>
#include <QString>

class QWidget;

// The controls that keep their own colours whatever theme is applied, all in
// one table: a theme is an application style sheet and palette, and a style
// sheet set on the control itself, or a palette fixed on it, wins over both.
//
//   form1 / EditCommand   aqua command line
//   form1 / Edit1         blue on white node box
//   form1 / ListView1     sky-blue list (the plain look only)
//   form1 / Re3           spot pane in the colours of the plain system look
//   dxcalendar / Label1   blue caption, dxcalendar / Label2 red caption
//   the band strip and its panels: black, with lime and red captions
class ThemeExemptions
{
public:
    // Gives the exempt controls of this window (found by the window's and
    // the controls' object names) their own colours. Call it once the
    // controls exist and before a theme is applied.
    static void apply(QWidget* window);

    // A theme other than the plain look is now in use: the controls whose
    // colours belong to the plain look alone take the theme's.
    static void themeApplied(QWidget* window);

    // The band strip's own sheet (the selector names the strip alone, so its
    // two buttons keep the theme) and a band panel's in its caption colour.
    static QString bandStripSheet();
    static QString bandPanelSheet(const QColor& caption);
};
