#include "alerts/AlertSpot.h"

#include "dxcc/CountryTable.h"
#include "dxcc/SpotFields.h"
#include "spots/BandFilter.h"

std::optional<AlertSpot> AlertSpot::fromLine(const QString& line, const CountryTable& countries)
{
    const std::optional<SpotFields> fields = SpotFields::read(line);
    if (!fields)
        return std::nullopt;
    AlertSpot spot;
    spot.callsign = fields->callsign;
    spot.spotter = fields->spotter;
    spot.comment = fields->comment;
    // The spot's frequency value is in tenths of a kHz: 140250 is 14025.0.
    spot.frequencyKhz = fields->frequency / 10.0;
    spot.band = BandFilter::bandOf(fields->frequency).value_or(-1);
    spot.mode = SpotMode::of(fields->comment, fields->frequency);
    spot.modeGroup = SpotMode::groupOf(spot.mode);
    if (const std::optional<CountryInfo> country = countries.lookup(spot.callsign)) {
        spot.entity = country->name;
        spot.primaryPrefix = country->primaryPrefix;
        spot.continent = country->continent;
    }
    return spot;
}
