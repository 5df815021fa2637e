#pragma once

#include "spots/ModeGroup.h"

#include <QString>
#include <QStringView>

#include <optional>

// The amateur bands from 2200 m to 23 cm with the edges of the IARU region
// the station is in, and the band plan's CW, digital and phone segments,
// for a spot's band and its mode group when its comment names no mode.
//   Region 1: 7150.0 kHz -> 40m, Phone;  7250.0 kHz -> no band
//   Region 2: 7250.0 kHz -> 40m, Phone;  1800.0 kHz -> 160m, CW
// Bounds are inclusive; a frequency between the bands has no band.
class BandPlan
{
public:
    enum class Region : unsigned char
    {
        One = 1,  // Europe, Africa, the Middle East, northern Asia
        Two = 2,  // the Americas
        Three = 3 // the rest of Asia and the Pacific
    };

    // Longest wave first. 4 m is a band of Region 1 only; 1.25 m and 33 cm
    // of Region 2 only.
    enum class Band : unsigned char
    {
        m2200,
        m630,
        m160,
        m80,
        m60,
        m40,
        m30,
        m20,
        m17,
        m15,
        m12,
        m10,
        m6,
        m4,
        m2,
        m1_25,
        cm70,
        cm33,
        cm23
    };
    static constexpr int BandCount = 19;

    struct Edges
    {
        qint64 lowestHz = 0;
        qint64 highestHz = 0;
    };

    explicit BandPlan(Region region = Region::One) : m_region(region) {}

    Region region() const { return m_region; }

    // The value of `[Station] Region=` in settings.ini: "1", "2" or "3"
    // (blanks around allowed); none for anything else, and the caller keeps
    // Region 1.
    static std::optional<Region> regionFromSetting(QStringView text);

    // The band holding a frequency in this region, none between the bands.
    std::optional<Band> bandOf(qint64 hz) const;

    // A band's edges in this region; none for a band the region has not.
    std::optional<Edges> edges(Band band) const;

    // The mode group the band plan gives a frequency: the segment it lies
    // in, or digital on the common FT8 and FT4 channels (dial to dial +
    // 3 kHz, "7074.0" is digital although 7060-7200 is the phone segment).
    // Unknown outside the bands.
    ModeGroup groupOf(qint64 hz) const;

    // "160m", "1.25m", "70cm"; the name a user reads and writes.
    static QString name(Band band);
    static std::optional<Band> fromName(QStringView name);

private:
    Region m_region;
};
