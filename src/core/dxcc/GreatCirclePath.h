#pragma once

#include "dxcc/CountryInfo.h"

#include <QStringView>

#include <optional>

// Where to point the antenna and how far the station is: the short path
// and the long path around the earth, from Hamlib's qrb,
// azimuth_long_path and distance_long_path.
struct GreatCirclePath
{
    double bearing = 0;     // degrees from true north, short path
    double longBearing = 0; // degrees, long path
    double km = 0;          // short path
    double longKm = 0;

    // From one point to another, longitudes positive EAST as Hamlib takes
    // them; none for a point out of range.
    static std::optional<GreatCirclePath> between(double latFrom, double lonEastFrom,
                                                  double latTo, double lonEastTo);

    // From the centre of the user's locator to the position the country
    // file gives a callsign's entity (the file writes west positive); none
    // for an invalid locator.
    static std::optional<GreatCirclePath> fromLocator(QStringView locator, const CountryInfo& dx);
};
