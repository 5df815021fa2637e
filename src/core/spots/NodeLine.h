#pragma once

#include "spots/Announcement.h"
#include "spots/SolarReport.h"
#include "spots/Spot.h"

#include <QStringView>

#include <optional>

class SpotReader;

// What a line from a node is, for the lines people read beyond the
// terminal pane:
//   "DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2        0712Z" -> Spot
//   "  14222.0  9L5M         4-Dec-2023 1655Z  TNX       <EB1DJ>"    -> ListedSpot
//   "WWV de W0MU <21>:   SFI=118, A=8, K=2, No Storms"               -> Wwv
//   "WCY de DK0WCY-1 <12> : K=2 expK=0 A=13 R=12 SFI=72"             -> Wcy
//   "To ALL de EA8ABC: QRV 14025"                                    -> Announcement
// and Other for prompts, talk, greetings and the rest.
struct NodeLine
{
    enum class Kind : unsigned char
    {
        Other,
        Spot,
        ListedSpot,
        Wwv,
        Wcy,
        Announcement
    };

    Kind kind = Kind::Other;
    std::optional<::Spot> spot;                 // Spot and ListedSpot
    std::optional<SolarReport> solar;           // Wwv and Wcy
    std::optional<::Announcement> announcement; // Announcement

    static NodeLine read(QStringView line, const SpotReader& reader);
};
