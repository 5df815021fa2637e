#pragma once

#include <QRect>
#include <QSize>

// The arithmetic of keeping a window's controls in proportion. Every pass
// starts from the reference layout (the design layout adjusted to the
// screen's density), so rounding never builds up between passes.
class ScaleMath
{
public:
    // Halves go up: 12.5 gives 13, 4.5 gives 5. Below zero it is floor(x + 0.5),
    // not truncation, so a lamp designed at Top -3 stays at -3 at factor 1.0.
    static int round(double x);
    // Truncation toward zero: 4.5 gives 4.
    static int truncate(double x);

    // Design density over run density, e.g. 96 / 120 = 0.8 (below 1 on a
    // denser screen). 1.0 when either density is unknown (0).
    static double densityFactor(int designDpi, int runDpi);

    // Bounds adjusted at load: each value divided by its factor and rounded,
    // so a Left of 10 becomes 13 at 96 / 120.
    static QRect densityAdjusted(const QRect& bounds, double fx, double fy);

    struct Factors
    {
        double x = 1.0;
        double y = 1.0;
        double font = 1.0; // the smaller of x and y
    };
    // The factors of one pass: the new client size over the reference client
    // size, times design over run density (taken as 1.0 when a run density is
    // 0).
    static Factors passFactors(const QSize& client, const QSize& reference, int designDpiW,
                               int designDpiH, int runDpiW, int runDpiH);

    // A control's bounds in a pass. A value that comes out as 0 becomes 1.
    static QRect scaledBounds(const QRect& reference, double sx, double sy);

    // The window's own font follows the factor rounded, a control's font
    // truncated; neither drops below 1.
    static int ownerFontSize(int referenceSize, double factor);
    static int controlFontSize(int referenceSize, double factor);

    // A size (or bounds) seen now, taken back to factor 1.0 with the factor
    // of the last pass. A factor of 0 leaves the value as it is.
    static int referenceFromCurrent(int current, double lastFactor);
    static QRect referenceFromCurrent(const QRect& current, double lastX, double lastY);
};
