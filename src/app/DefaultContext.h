#pragma once

#include "app/AppContext.h"

// The context of the real program: message boxes, the desktop's URL opener,
// the system clock, the executable's folder and the working directory.
AppContext makeDefaultContext();
