#pragma once

#include "dxcc/CountryInfo.h"
#include "dxcc/GreatCirclePath.h"
#include "spots/BandPlan.h"
#include "spots/Spot.h"

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

class CountryTable;

// One spot as it reaches the views and rules beyond the designed panes,
// with everything they ask of it found once:
//
//   DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2                    0712Z
//
// the Spot read from it, where VP2MXX is (the country file) and how to
// point the antenna at it from the user's locator, the panel of the band
// strip its band falls under (15m here), and whether the live check made it
// a hit. Every consumer gets the same value within one emit.
struct SpotEvent
{
    Spot spot;
    QString line;           // the text the terminal pane shows for it (cut to 60)
    QDateTime receivedUtc;
    std::optional<CountryInfo> country;
    std::optional<GreatCirclePath> path; // none without a locator or a country
    int stripBand = -1;     // the band strip's panel, -1 for bands it has none for
    bool dxpedition = false; // the live check found the call while it was on

    // The mode as the views show it: the comment's word, else what the
    // band plan's segment is used for ("7005.0" with no word: CW;
    // "14195.0": SSB; "7074.0": DIGI); empty outside the bands.
    QString modeText() const;

    // The band strip's panel of a band of the band plan: the HF bands and
    // 6 m have their own, the bands above 6 m share "vhf up"; 2200 m and
    // 630 m have none.
    static std::optional<int> stripIndexOf(BandPlan::Band band);

    // The spot with its country, path and panel; countries may be null
    // (no country file), locator empty (no bearing).
    static SpotEvent resolve(Spot spot, QString line, QDateTime receivedUtc,
                             const CountryTable* countries, QStringView locator);
};
