#pragma once

#include "app/AppContext.h"

// The context of the real program: message boxes, the desktop's URL opener,
// the system clock, the executable's folder and the working directory.
AppContext makeDefaultContext();

// The program's message sink: a modal box with one OK button over the active
// window; it returns when the user closes it.
void showMessageBox(const QString& text);
