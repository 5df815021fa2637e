#include "dxcc/GreatCirclePath.h"

#include "dxcc/Locator.h"

#include <hamlib/rotator.h>

#include <cmath>
#include <mutex>

std::optional<GreatCirclePath> GreatCirclePath::between(double latFrom, double lonEastFrom,
                                                        double latTo, double lonEastTo)
{
    for (double lat : {latFrom, latTo})
        if (!std::isfinite(lat) || std::fabs(lat) > 90)
            return std::nullopt;
    for (double lon : {lonEastFrom, lonEastTo})
        if (!std::isfinite(lon) || std::fabs(lon) > 180)
            return std::nullopt;
    // Hamlib traces every call to stderr unless told otherwise.
    static std::once_flag once;
    std::call_once(once, [] { rig_set_debug(RIG_DEBUG_NONE); });
    double km = 0;
    double azimuth = 0;
    if (qrb(lonEastFrom, latFrom, lonEastTo, latTo, &km, &azimuth) != RIG_OK)
        return std::nullopt;
    GreatCirclePath path;
    path.bearing = azimuth;
    path.km = km;
    path.longBearing = azimuth_long_path(azimuth);
    path.longKm = distance_long_path(km);
    return path;
}

std::optional<GreatCirclePath> GreatCirclePath::fromLocator(QStringView locator,
                                                            const CountryInfo& dx)
{
    const std::optional<Locator::Point> home = Locator::centre(locator);
    if (!home)
        return std::nullopt;
    return between(home->latitude, home->longitudeEast, dx.latitude, dx.longitudeEast());
}
