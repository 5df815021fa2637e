#include "log/StatusColors.h"

#include "settings/ColorContrast.h"

#include <array>

namespace {

struct Shades
{
    quint32 dark;  // for a light ground
    quint32 light; // for a dark ground
};

// In the order of SpotStatus's kinds: red, orange, violet, blue for what is
// still needed, grey for worked, green for confirmed.
constexpr std::array<Shades, SpotStatus::KindCount> kShades{{
    {0xB00000, 0xFF8080},
    {0x9A4A00, 0xFFB060},
    {0x7A1FA2, 0xD9A0FF},
    {0x0040B0, 0x80B8FF},
    {0x555555, 0xB8B8B8},
    {0x1B6E20, 0x8BE08F},
}};

} // namespace

quint32 StatusColors::textColor(SpotStatus::Kind kind, quint32 base, quint32 text)
{
    const Shades& shades = kShades.at(std::size_t(kind));
    const double dark = ColorContrast::ratio(shades.dark, base);
    const double light = ColorContrast::ratio(shades.light, base);
    const quint32 best = dark >= light ? shades.dark : shades.light;
    if (qMax(dark, light) >= MinContrast)
        return best;
    return text;
}
