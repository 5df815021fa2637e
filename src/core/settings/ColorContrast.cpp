#include "settings/ColorContrast.h"

#include <algorithm>
#include <cmath>

namespace {

double channel(quint32 value8)
{
    const double c = value8 / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

} // namespace

double ColorContrast::luminance(quint32 rgb)
{
    return 0.2126 * channel((rgb >> 16) & 0xff) + 0.7152 * channel((rgb >> 8) & 0xff) +
           0.0722 * channel(rgb & 0xff);
}

double ColorContrast::ratio(quint32 a, quint32 b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
