#pragma once

#include "log/SpotStatus.h"

#include <QtGlobal>

// The colour of a status's text in the DX window, one hue per status that
// reads on the table's ground in a light theme and in a dark one: of two
// shades of the hue, the one of better contrast with the ground, and when
// even that one reads poorly (a ground of the hue's own brightness), the
// theme's own text colour. The words are always there as well.
class StatusColors
{
public:
    // Contrast wanted for body text.
    static constexpr double MinContrast = 4.5;

    // 0xRRGGBB of the status's text on the ground base; text is the
    // theme's text colour.
    static quint32 textColor(SpotStatus::Kind kind, quint32 base, quint32 text);
};
