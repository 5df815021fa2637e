#pragma once

#include <QString>

// What the user's log says of a spot, from the most wanted down:
//   "New one"    the entity was never worked
//   "New band"   the entity was worked, never on this band
//   "New mode"   the entity was worked, never in this mode group (CW, phone, digital)
//   "New slot"   worked on this band and in this group, never both together
//   "Worked"     this band and group worked, not confirmed by the chosen confirmations
//   "Confirmed"  this band and group confirmed
// and whether this very callsign is in the log on this band.
struct SpotStatus
{
    enum class Kind : unsigned char
    {
        NewOne,
        NewBand,
        NewMode,
        NewSlot,
        Worked,
        Confirmed
    };
    static constexpr int KindCount = 6;

    Kind kind = Kind::NewOne;
    bool workedBefore = false;

    // The four kinds a DX hunter still needs.
    bool isNeeded() const { return kind <= Kind::NewSlot; }

    // "New one", "New band", "New mode", "New slot", "Worked", "Confirmed".
    QString text() const { return textOf(kind); }
    static QString textOf(Kind kind);

    friend bool operator==(const SpotStatus&, const SpotStatus&) = default;
};
