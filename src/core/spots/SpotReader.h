#pragma once

#include "spots/BandPlan.h"
#include "spots/Spot.h"

#include <QStringView>

#include <optional>

// Reads spots from node lines by their words, not their columns, so that
// every layout the nodes send gives the same values:
//
//   DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2                    0712Z
//   DX de CT1BOH-#:   7018.20  JA1BBB       CW 12 dB 22 WPM CQ            0712Z
//   DX de KO7SS-7-#:14025.0  VK9/DL1ABCD/MM  CW 5 dB 18 WPM DX             0712Z JO31
//   DX de W6RK:    1296200.0  W5LUA        EME                            2232Z
//
// The spotter runs to its colon; the frequency is the first number after it
// (kHz, one to three decimals, 1.8 MHz to 250 GHz); the call is the next
// word; the node's time is the last "HHMMZ" of the line, and what follows it
// (a locator, a state) is the node's. Everything between the call and the
// time is the comment. Nothing here keeps state or blocks; a line longer
// than MaxLineLength is no spot.
class SpotReader
{
public:
    // A spot line is about 80 characters; a longer one is no spot, so a
    // node that never ends its line costs nothing here.
    static constexpr qsizetype MaxLineLength = 512;

    explicit SpotReader(BandPlan plan = BandPlan()) : m_plan(plan) {}

    const BandPlan& bandPlan() const { return m_plan; }

    // A live spot line, "DX de ..."; trailing blanks, line ends and the BEL
    // bytes some nodes add are ignored. None for any other line.
    std::optional<Spot> read(QStringView line) const;

    // A line of the list that SH/DX answers with:
    //   "  14222.0  9L5M         4-Dec-2023 1655Z  TNX                  <EB1DJ>"
    // frequency, call, date, time, comment, and the spotter in <...>.
    std::optional<Spot> readListing(QStringView line) const;

    // A callsign as spots carry them: 3 to 20 letters, digits and slashes,
    // at least one letter and one digit, no slash at either end
    // ("VP2MXX", "VK9/DL1ABCD/MM", "FT8WW"; not "599", "CQ", "/P", "0712Z").
    static bool isCall(QStringView word);

    // A Maidenhead locator of 4 or 6 characters, either case: field A-R,
    // square 0-9, subsquare A-X ("FK68", "JO31lk"; not "RR73", which FT8
    // operators write to end a contact, nor "JS31").
    static bool isLocator(QStringView word);

private:
    // Fills what the comment tells: mode, group, report, speed, tag, split,
    // locators.
    void readComment(Spot& spot) const;

    BandPlan m_plan;
};
