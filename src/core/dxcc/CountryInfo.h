#pragma once

#include <QString>

// Where a callsign belongs, as the country file describes it, with the
// overrides of the alias that matched already applied.
struct CountryInfo
{
    QString name;          // "Fed. Rep. of Germany"
    QString primaryPrefix; // "DL", without the star of a WAE-only entity
    QString continent;     // "EU"
    int cqZone = 0;
    int ituZone = 0;
    double latitude = 0;      // degrees, positive north
    double longitudeWest = 0; // degrees, positive WEST, as the file writes it
    double utcOffset = 0;     // hours
    // The entity counts for the WAE and CQ lists but is no DXCC entity
    // (Sicily, "*IT9" in the file).
    bool waeOnly = false;

    // The usual sign: positive east, as Hamlib and maps use it.
    double longitudeEast() const { return -longitudeWest; }

    bool operator==(const CountryInfo&) const = default;
};
