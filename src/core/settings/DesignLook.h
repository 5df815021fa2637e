#pragma once

#include <QString>
#include <QtGlobal>

// The look every window is designed in: the font family and the signal
// colours, written here once. Colours are 0xRRGGBB, so the core (which has no
// colour class) can hold them; a widget makes its QColor with
// QColor::fromRgb(DesignLook::kLime).
namespace DesignLook {

// The family of every caption; a machine without it gets the substitutes
// set up at start (main.cpp).
inline QString fontFamily()
{
    return QStringLiteral("Segoe UI");
}

// The point size of the windows' own font.
constexpr int kWindowPointSize = 9;

// A lamp that is on, a band that is shown.
constexpr quint32 kLime = 0x00FF00;
// A lamp that is off, a band that is hidden.
constexpr quint32 kRed = 0xFF0000;
// The band strip and its panels.
constexpr quint32 kStripBackground = 0x000000;

} // namespace DesignLook
