#include "alerts/AlertSpot.h"

#include "dxcc/CountryTable.h"
#include "pipeline/SpotEvent.h"
#include "spots/SpotReader.h"

AlertSpot AlertSpot::fromSpot(const SpotEvent& event)
{
    AlertSpot spot;
    spot.callsign = event.spot.call;
    spot.spotter = event.spot.spotter;
    spot.comment = event.spot.comment;
    spot.frequencyKhz = double(event.spot.frequencyHz) / 1000.0;
    spot.band = event.stripBand;
    spot.mode = event.modeText();
    spot.modeGroup = SpotMode::Group(int(event.spot.group));
    if (event.country) {
        spot.entity = event.country->name;
        spot.primaryPrefix = event.country->primaryPrefix;
        spot.continent = event.country->continent;
    }
    return spot;
}

std::optional<AlertSpot> AlertSpot::fromLine(const QString& line, const CountryTable& countries)
{
    static const SpotReader reader;
    std::optional<Spot> spot = reader.read(line);
    if (!spot)
        return std::nullopt;
    return fromSpot(SpotEvent::resolve(std::move(*spot), line, QDateTime(), &countries, {}));
}
