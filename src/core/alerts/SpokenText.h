#pragma once

#include "log/SpotStatus.h"

#include <QString>

#include <optional>

// What the program says aloud for an alert, the way a ham reads a spot out:
//
//   DX de W3LPL:     14025.0  3Y0K         CW 599                    0712Z
//
// becomes "3Y0K, Bouvet, 14 025, CW": the callsign, the entity's name, the
// frequency in kHz in groups of three with the tenths only when they are not
// zero, and the mode. A part that is unknown (no entity, no mode, no
// frequency) is left out together with its comma.
class SpokenText
{
public:
    // frequency in tenths of a kHz, as the spot reader gives it
    // (140250 is 14025.0 kHz).
    static QString of(const QString& callsign, const QString& entity, int frequency,
                      const QString& mode);
    // The same, led by the status when the user's log still needs the spot:
    // "New one: 3Y0J, Bouvet, 14 025, CW". Worked and confirmed spots, and
    // spots without a status, are said as above.
    static QString of(const std::optional<SpotStatus>& status, const QString& callsign,
                      const QString& entity, int frequency, const QString& mode);

    // The frequency alone: 140250 -> "14 025", 70055 -> "7 005.5",
    // 1443000 -> "144 300", 4720 -> "472". Empty for zero or less.
    static QString frequency(int frequency);
};
