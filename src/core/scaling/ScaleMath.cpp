#include "scaling/ScaleMath.h"

#include <cmath>

int ScaleMath::round(double x)
{
    return static_cast<int>(std::floor(x + 0.5));
}

int ScaleMath::truncate(double x)
{
    return static_cast<int>(std::trunc(x));
}

double ScaleMath::densityFactor(int designDpi, int runDpi)
{
    if (runDpi == 0 || designDpi == 0)
        return 1.0;
    return static_cast<double>(designDpi) / runDpi;
}

QRect ScaleMath::densityAdjusted(const QRect& bounds, double fx, double fy)
{
    return QRect(round(bounds.left() / fx), round(bounds.top() / fy), round(bounds.width() / fx),
                 round(bounds.height() / fy));
}

ScaleMath::Factors ScaleMath::passFactors(const QSize& client, const QSize& reference,
                                          int designDpiW, int designDpiH, int runDpiW, int runDpiH)
{
    Factors f;
    if (reference.width() != 0)
        f.x = static_cast<double>(client.width()) / reference.width() *
              densityFactor(designDpiW, runDpiW);
    if (reference.height() != 0)
        f.y = static_cast<double>(client.height()) / reference.height() *
              densityFactor(designDpiH, runDpiH);
    f.font = std::min(f.x, f.y);
    return f;
}

QRect ScaleMath::scaledBounds(const QRect& reference, double sx, double sy)
{
    const auto atLeastOne = [](int v) { return v == 0 ? 1 : v; };
    return QRect(atLeastOne(round(reference.left() * sx)), atLeastOne(round(reference.top() * sy)),
                 atLeastOne(round(reference.width() * sx)),
                 atLeastOne(round(reference.height() * sy)));
}

int ScaleMath::ownerFontSize(int referenceSize, double factor)
{
    // A font has no size 0.
    const int size = round(referenceSize * factor);
    return size < 1 ? 1 : size;
}

int ScaleMath::controlFontSize(int referenceSize, double factor)
{
    const int size = truncate(referenceSize * factor);
    return size == 0 ? 1 : size;
}

int ScaleMath::referenceFromCurrent(int current, double lastFactor)
{
    return lastFactor == 0.0 ? current : round(current / lastFactor);
}

QRect ScaleMath::referenceFromCurrent(const QRect& current, double lastX, double lastY)
{
    return QRect(referenceFromCurrent(current.left(), lastX),
                 referenceFromCurrent(current.top(), lastY),
                 referenceFromCurrent(current.width(), lastX),
                 referenceFromCurrent(current.height(), lastY));
}
