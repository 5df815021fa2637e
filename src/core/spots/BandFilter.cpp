#include "spots/BandFilter.h"

#include "spots/SpotText.h"

namespace {

struct BandInfo
{
    const char* name;
    const char* caption;
    BandFilter::Window window;
};

// The windows are narrower than the amateur bands on purpose in places
// (160 m only 1830.0-1850.0 kHz, 10 m up to 29000.0, 6 m up to 51000.0) and
// wider in one (30 m up to 11500.0); the gaps belong to no band.
constexpr std::array<BandInfo, BandFilter::BandCount> kBands{{
    {"m160", "160", {18300, 18500}},
    {"m80", "80", {35000, 38000}},
    {"m60", "60", {53150, 56500}},
    {"m40", "40", {70000, 73000}},
    {"m30", "30", {101000, 115000}},
    {"m20", "20", {140000, 143500}},
    {"m17", "17", {180680, 181680}},
    {"m15", "15", {210000, 214500}},
    {"m12", "12", {248900, 249900}},
    {"m10", "10", {280000, 290000}},
    {"m6", "6", {500000, 510000}},
    {"msopra", "vhf up", {700000, 99990000}},
}};

} // namespace

const std::array<BandFilter::Band, BandFilter::BandCount>& BandFilter::bands()
{
    static const std::array<Band, BandCount> all{Band::m160, Band::m80, Band::m60, Band::m40,
                                                 Band::m30,  Band::m20, Band::m17, Band::m15,
                                                 Band::m12,  Band::m10, Band::m6,  Band::msopra};
    return all;
}

QString BandFilter::panelName(Band band)
{
    return QString::fromLatin1(kBands[indexOf(band)].name);
}

QString BandFilter::caption(Band band)
{
    return QString::fromLatin1(kBands[indexOf(band)].caption);
}

BandFilter::Window BandFilter::window(Band band)
{
    return kBands[indexOf(band)].window;
}

std::optional<int> BandFilter::bandOf(int f)
{
    for (int i = 0; i < BandCount; ++i) {
        if (f >= kBands[i].window.lowest && f <= kBands[i].window.highest)
            return i;
    }
    return std::nullopt;
}

BandFilter::Decision BandFilter::decide(const QString& workingCopy, const States& states)
{
    const std::optional<int> f = SpotText::frequencyValue(workingCopy);
    if (!f)
        return Decision::Pass;
    const std::optional<int> band = bandOf(*f);
    if (!band || !states[*band])
        return Decision::Drop;
    return Decision::Pass;
}
