#pragma once

#include <QtGlobal>

// How well one colour reads on another, as the web's accessibility
// guidelines measure it: 1 (the same colour) up to 21 (black on white).
// Body text wants at least 4.5, large or disabled text 3.
class ColorContrast
{
public:
    // Relative luminance of 0xRRGGBB, 0 (black) to 1 (white).
    static double luminance(quint32 rgb);
    static double ratio(quint32 a, quint32 b);
};
