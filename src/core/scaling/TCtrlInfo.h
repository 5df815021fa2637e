#pragma once

#include <QRect>
#include <QString>

// One registered control: its reference bounds and font size (at factor 1.0)
// and what the last pass left on it.
struct TCtrlInfo
{
    QString Name;
    QRect reference; // Left, Top, Width, Height at factor 1.0, relative to the parent
    QRect old;       // OldLeft, OldTop, OldWidth, OldHeight: the bounds after the last pass
    int OldFontSize = 0;
    bool hasFont = false;
    int fontSize = 0; // the reference font's size
    bool ParentFont = true;
    bool OrgParentFont = true;
};
