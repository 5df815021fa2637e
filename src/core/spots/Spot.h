#pragma once

#include "spots/BandPlan.h"
#include "spots/ModeGroup.h"
#include "spots/SpotSplit.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

// One DX spot, read once from the node's line by its words, and shared by
// every view and rule beyond the designed panes:
//
//   DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2                    0712Z
//   DX de DK9IP-#:   14023.8  JA1BBB       CW 19 dB 18 WPM CQ             0712Z
//
// spotter "W3LPL", 21021000 Hz, call "VP2MXX", comment "CW 579 up 2", time
// 07:12, band 15m, mode CW; split up to 21023000 Hz. The second is a
// skimmer's spot: 19 dB, 18 WPM, tag CQ.
struct Spot
{
    // The frequencies a spot may have: from 160 m up to 250 GHz. A line
    // with another number is no spot.
    static constexpr qint64 LowestHz = 1'800'000;
    static constexpr qint64 HighestHz = 250'000'000'000;

    // What a skimmer of the Reverse Beacon Network says it heard.
    enum class Tag : unsigned char
    {
        None,
        Cq,         // "CQ": the station calls CQ
        Dx,         // "DX": the station calls a station, not CQ
        Beacon,     // "BEACON"
        NcdxfBeacon // "NCDXF B": a beacon of the NCDXF/IARU network
    };

    QString spotter;      // as the node wrote it, "-#" or "-1" kept: "DK9IP-#"
    bool skimmer = false; // the spotter ends in "-#"
    qint64 frequencyHz = 0;
    QString call;    // in capitals
    QString comment; // between the call and the time, its blanks inside kept
    QTime time;      // the node's "0712Z"; invalid when the line has none
    QDate date;      // only a listing line ("04-Dec-2023") has it

    std::optional<BandPlan::Band> band; // none between the bands: still a spot
    QString mode;                       // the comment's mode word ("CW", "USB", "FT8"), else empty
    ModeGroup group = ModeGroup::Unknown; // of the mode word, else of the band plan

    std::optional<int> snrDb; // "19 dB", "-12 dB"
    std::optional<int> wpm;   // "18 WPM"
    Tag tag = Tag::None;      // only for a comment with a report in dB
    std::optional<SpotSplit> split;

    // Maidenhead locators, written "FK68" or "JO31lk": those of the comment
    // in their order ("FT8 -12 dB FK68 CQ", "JO31<ES>FN42"), and those the
    // node adds after the time ("0712Z JO31").
    QStringList locators;
    QStringList nodeLocators;

    // The frequency in kHz as nodes write it: at least one decimal, as many
    // as it has.
    //   21057610 -> "21057.61";  14025000 -> "14025.0";  1296200000 -> "1296200.0"
    QString kilohertzText() const;

    friend bool operator==(const Spot&, const Spot&) = default;
};
