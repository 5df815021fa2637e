#pragma once

#include "dxcc/SpotMode.h"
#include "log/SpotStatus.h"

#include <QString>

#include <optional>

class CountryTable;
struct SpotEvent;

// The facts of one spot that alert rules look at, read once per spot line:
//
//   DX de W3LPL:     14025.0  3Y0K         CW 599 up 2                    0712Z
//
// gives call "3Y0K", 14025.0 kHz, band 20 m (index 5 of the band filter),
// mode "CW" in the CW group, and from the country file the entity "Bouvet",
// its primary prefix and continent "AF".
struct AlertSpot
{
    QString callsign;      // upper case, as the spot carries it
    QString spotter;
    QString comment;
    double frequencyKhz = 0;
    int band = -1;         // BandFilter index; -1 between the band windows
    QString mode;          // "CW", "SSB", "FT8"...; empty when unknown
    SpotMode::Group modeGroup = SpotMode::Group::Unknown;
    QString entity;        // empty when the country file does not know the call
    QString primaryPrefix;
    QString continent;     // "AF", "AN", "AS", "EU", "NA", "OC", "SA" or empty
    // What the user's log says of the spot; none without a log or entity.
    std::optional<SpotStatus> status;

    // The facts of a spot the pipeline has read and placed.
    static AlertSpot fromSpot(const SpotEvent& event);
    // None for a line that is no DX spot; read and looked up here, for
    // callers that have no pipeline.
    static std::optional<AlertSpot> fromLine(const QString& line, const CountryTable& countries);
};
