#pragma once

#include <QString>

#include <optional>

// The parts of a DX spot line the DX window shows:
//
//   DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2                    0712Z
//
// spotter "W3LPL", frequency value 210210 (tenths of a kHz, read as the
// rest of the program reads it), callsign "VP2MXX", comment "CW 579 up 2",
// time "0712".
struct SpotFields
{
    QString spotter;
    int frequency = 0; // tenths of a kHz
    QString callsign;
    QString comment;
    QString time; // "HHMM" as the node wrote it, empty when the line has none

    // None for a line that is no spot: no "DX" at its start, no frequency,
    // or no word that can be a callsign.
    static std::optional<SpotFields> read(const QString& line);

    // A callsign as spots carry them: 3 to 20 letters, digits and slashes,
    // at least one letter and one digit ("VP2MXX", "PA/DJ0LN/P"; not "Hz").
    static bool looksLikeCall(const QString& word);
};
