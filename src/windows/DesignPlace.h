#pragma once

#include <QLatin1String>
#include <QWidget>

// Every window builds its controls at the positions of its design table, each
// named after its design name so the scaling component and the tests find it.
template <typename W>
W* place(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    w->setGeometry(left, top, width, height);
    return w;
}
