#include "spots/BandPlan.h"

#include <array>

namespace {

constexpr qint64 bandPlanHz(double kHz)
{
    return qint64(kHz * 1000.0 + 0.5);
}

// Which regions a row of the tables below holds for.
constexpr unsigned kRegion1 = 1u << 1;
constexpr unsigned kRegion2 = 1u << 2;
constexpr unsigned kRegion3 = 1u << 3;
constexpr unsigned kAllRegions = kRegion1 | kRegion2 | kRegion3;

unsigned bandPlanMask(BandPlan::Region region)
{
    return 1u << unsigned(region);
}

struct BandPlanEdgeRow
{
    BandPlan::Band band;
    unsigned regions;
    qint64 lowestHz;
    qint64 highestHz;
};

using PlanBand = BandPlan::Band;

// The edges of the IARU regions' band plans (the ITU allocations to the
// amateur service), in kHz. 60 m is the worldwide 5351.5-5366.5 of 2015.
constexpr BandPlanEdgeRow kBandPlanEdges[] = {
    {PlanBand::m2200, kAllRegions, bandPlanHz(135.7), bandPlanHz(137.8)},
    {PlanBand::m630, kAllRegions, bandPlanHz(472), bandPlanHz(479)},
    {PlanBand::m160, kRegion1, bandPlanHz(1810), bandPlanHz(2000)},
    {PlanBand::m160, kRegion2 | kRegion3, bandPlanHz(1800), bandPlanHz(2000)},
    {PlanBand::m80, kRegion1, bandPlanHz(3500), bandPlanHz(3800)},
    {PlanBand::m80, kRegion2, bandPlanHz(3500), bandPlanHz(4000)},
    {PlanBand::m80, kRegion3, bandPlanHz(3500), bandPlanHz(3900)},
    {PlanBand::m60, kAllRegions, bandPlanHz(5351.5), bandPlanHz(5366.5)},
    {PlanBand::m40, kRegion1 | kRegion3, bandPlanHz(7000), bandPlanHz(7200)},
    {PlanBand::m40, kRegion2, bandPlanHz(7000), bandPlanHz(7300)},
    {PlanBand::m30, kAllRegions, bandPlanHz(10100), bandPlanHz(10150)},
    {PlanBand::m20, kAllRegions, bandPlanHz(14000), bandPlanHz(14350)},
    {PlanBand::m17, kAllRegions, bandPlanHz(18068), bandPlanHz(18168)},
    {PlanBand::m15, kAllRegions, bandPlanHz(21000), bandPlanHz(21450)},
    {PlanBand::m12, kAllRegions, bandPlanHz(24890), bandPlanHz(24990)},
    {PlanBand::m10, kAllRegions, bandPlanHz(28000), bandPlanHz(29700)},
    {PlanBand::m6, kAllRegions, bandPlanHz(50000), bandPlanHz(54000)},
    {PlanBand::m4, kRegion1, bandPlanHz(70000), bandPlanHz(70500)},
    {PlanBand::m2, kRegion1, bandPlanHz(144000), bandPlanHz(146000)},
    {PlanBand::m2, kRegion2 | kRegion3, bandPlanHz(144000), bandPlanHz(148000)},
    {PlanBand::m1_25, kRegion2, bandPlanHz(220000), bandPlanHz(225000)},
    {PlanBand::cm70, kRegion1 | kRegion3, bandPlanHz(430000), bandPlanHz(440000)},
    {PlanBand::cm70, kRegion2, bandPlanHz(420000), bandPlanHz(450000)},
    {PlanBand::cm33, kRegion2, bandPlanHz(902000), bandPlanHz(928000)},
    {PlanBand::cm23, kAllRegions, bandPlanHz(1240000), bandPlanHz(1300000)},
};

struct BandPlanSegmentRow
{
    BandPlan::Band band;
    unsigned regions;
    qint64 startHz;
    ModeGroup group;
};

constexpr ModeGroup kSegmentCw = ModeGroup::Cw;
constexpr ModeGroup kSegmentDigital = ModeGroup::Digital;
constexpr ModeGroup kSegmentPhone = ModeGroup::Phone;

// Where each segment of a band starts, in kHz; it runs to the next start in
// the same band or to the band's top, and a start below a region's bottom
// edge (1800 in Region 1) covers the band from its bottom. On HF the three
// regions' plans agree but for the band edges; the propagation beacons
// (14100, 18110, 21150, 24930, 28200) count as CW. Above 6 m only the
// weak-signal parts are told apart: CW at their bottom, then SSB; the rest
// is FM and counts as phone.
constexpr BandPlanSegmentRow kBandPlanSegments[] = {
    {PlanBand::m2200, kAllRegions, bandPlanHz(135.7), kSegmentCw},
    {PlanBand::m2200, kAllRegions, bandPlanHz(137.6), kSegmentDigital},
    {PlanBand::m630, kAllRegions, bandPlanHz(472), kSegmentCw},
    {PlanBand::m630, kAllRegions, bandPlanHz(475), kSegmentDigital},
    {PlanBand::m160, kAllRegions, bandPlanHz(1800), kSegmentCw},
    {PlanBand::m160, kAllRegions, bandPlanHz(1838), kSegmentDigital},
    {PlanBand::m160, kAllRegions, bandPlanHz(1843), kSegmentPhone},
    {PlanBand::m80, kAllRegions, bandPlanHz(3500), kSegmentCw},
    {PlanBand::m80, kAllRegions, bandPlanHz(3570), kSegmentDigital},
    {PlanBand::m80, kAllRegions, bandPlanHz(3600), kSegmentPhone},
    {PlanBand::m60, kAllRegions, bandPlanHz(5351.5), kSegmentCw},
    {PlanBand::m60, kAllRegions, bandPlanHz(5354), kSegmentPhone},
    {PlanBand::m40, kAllRegions, bandPlanHz(7000), kSegmentCw},
    {PlanBand::m40, kAllRegions, bandPlanHz(7040), kSegmentDigital},
    {PlanBand::m40, kAllRegions, bandPlanHz(7060), kSegmentPhone},
    {PlanBand::m30, kAllRegions, bandPlanHz(10100), kSegmentCw},
    {PlanBand::m30, kAllRegions, bandPlanHz(10130), kSegmentDigital},
    {PlanBand::m20, kAllRegions, bandPlanHz(14000), kSegmentCw},
    {PlanBand::m20, kAllRegions, bandPlanHz(14070), kSegmentDigital},
    {PlanBand::m20, kAllRegions, bandPlanHz(14099), kSegmentCw},
    {PlanBand::m20, kAllRegions, bandPlanHz(14101), kSegmentDigital},
    {PlanBand::m20, kAllRegions, bandPlanHz(14112), kSegmentPhone},
    {PlanBand::m17, kAllRegions, bandPlanHz(18068), kSegmentCw},
    {PlanBand::m17, kAllRegions, bandPlanHz(18095), kSegmentDigital},
    {PlanBand::m17, kAllRegions, bandPlanHz(18109), kSegmentCw},
    {PlanBand::m17, kAllRegions, bandPlanHz(18111), kSegmentDigital},
    {PlanBand::m17, kAllRegions, bandPlanHz(18120), kSegmentPhone},
    {PlanBand::m15, kAllRegions, bandPlanHz(21000), kSegmentCw},
    {PlanBand::m15, kAllRegions, bandPlanHz(21070), kSegmentDigital},
    {PlanBand::m15, kAllRegions, bandPlanHz(21120), kSegmentCw},
    {PlanBand::m15, kAllRegions, bandPlanHz(21151), kSegmentPhone},
    {PlanBand::m12, kAllRegions, bandPlanHz(24890), kSegmentCw},
    {PlanBand::m12, kAllRegions, bandPlanHz(24915), kSegmentDigital},
    {PlanBand::m12, kAllRegions, bandPlanHz(24929), kSegmentCw},
    {PlanBand::m12, kAllRegions, bandPlanHz(24931), kSegmentDigital},
    {PlanBand::m12, kAllRegions, bandPlanHz(24940), kSegmentPhone},
    {PlanBand::m10, kAllRegions, bandPlanHz(28000), kSegmentCw},
    {PlanBand::m10, kAllRegions, bandPlanHz(28070), kSegmentDigital},
    {PlanBand::m10, kAllRegions, bandPlanHz(28190), kSegmentCw},
    {PlanBand::m10, kAllRegions, bandPlanHz(28225), kSegmentPhone},
    {PlanBand::m10, kAllRegions, bandPlanHz(29200), kSegmentDigital},
    {PlanBand::m10, kAllRegions, bandPlanHz(29300), kSegmentPhone},
    {PlanBand::m6, kAllRegions, bandPlanHz(50000), kSegmentCw},
    {PlanBand::m6, kAllRegions, bandPlanHz(50100), kSegmentPhone},
    {PlanBand::m6, kAllRegions, bandPlanHz(50300), kSegmentDigital},
    {PlanBand::m6, kRegion1, bandPlanHz(50400), kSegmentCw},
    {PlanBand::m6, kAllRegions, bandPlanHz(50500), kSegmentPhone},
    {PlanBand::m4, kRegion1, bandPlanHz(70000), kSegmentCw},
    {PlanBand::m4, kRegion1, bandPlanHz(70100), kSegmentPhone},
    {PlanBand::m2, kRegion1, bandPlanHz(144000), kSegmentCw},
    {PlanBand::m2, kRegion1, bandPlanHz(144150), kSegmentPhone},
    {PlanBand::m2, kRegion1, bandPlanHz(144400), kSegmentCw},
    {PlanBand::m2, kRegion1, bandPlanHz(144500), kSegmentPhone},
    {PlanBand::m2, kRegion2 | kRegion3, bandPlanHz(144000), kSegmentCw},
    {PlanBand::m2, kRegion2 | kRegion3, bandPlanHz(144100), kSegmentPhone},
    {PlanBand::m2, kRegion2 | kRegion3, bandPlanHz(144275), kSegmentCw},
    {PlanBand::m2, kRegion2 | kRegion3, bandPlanHz(144300), kSegmentPhone},
    {PlanBand::m1_25, kRegion2, bandPlanHz(220000), kSegmentPhone},
    {PlanBand::m1_25, kRegion2, bandPlanHz(222000), kSegmentCw},
    {PlanBand::m1_25, kRegion2, bandPlanHz(222050), kSegmentPhone},
    {PlanBand::cm70, kAllRegions, bandPlanHz(420000), kSegmentPhone},
    {PlanBand::cm70, kAllRegions, bandPlanHz(432000), kSegmentCw},
    {PlanBand::cm70, kAllRegions, bandPlanHz(432100), kSegmentPhone},
    {PlanBand::cm70, kRegion1, bandPlanHz(432400), kSegmentCw},
    {PlanBand::cm70, kRegion1, bandPlanHz(432500), kSegmentPhone},
    {PlanBand::cm33, kRegion2, bandPlanHz(902000), kSegmentPhone},
    {PlanBand::cm33, kRegion2, bandPlanHz(903000), kSegmentCw},
    {PlanBand::cm33, kRegion2, bandPlanHz(903100), kSegmentPhone},
    {PlanBand::cm23, kAllRegions, bandPlanHz(1240000), kSegmentPhone},
    {PlanBand::cm23, kAllRegions, bandPlanHz(1296000), kSegmentCw},
    {PlanBand::cm23, kAllRegions, bandPlanHz(1296150), kSegmentPhone},
    {PlanBand::cm23, kAllRegions, bandPlanHz(1296800), kSegmentCw},
    {PlanBand::cm23, kAllRegions, bandPlanHz(1297000), kSegmentPhone},
};

// The dial frequencies of FT8 and FT4 (WSJT-X's defaults), in kHz; their
// signals lie up to 3 kHz above the dial, often inside a CW or phone
// segment.
constexpr qint64 kBandPlanDigitalDials[] = {
    bandPlanHz(1840),  bandPlanHz(3573),   bandPlanHz(3575),  bandPlanHz(5357),  bandPlanHz(7047.5),
    bandPlanHz(7074),  bandPlanHz(10136),  bandPlanHz(10140), bandPlanHz(14074), bandPlanHz(14080),
    bandPlanHz(18100), bandPlanHz(18104),  bandPlanHz(21074), bandPlanHz(21140), bandPlanHz(24915),
    bandPlanHz(24919), bandPlanHz(28074),  bandPlanHz(28180), bandPlanHz(50313), bandPlanHz(50318),
    bandPlanHz(70154), bandPlanHz(144174),
};
constexpr qint64 kBandPlanDialWidth = 3000;

struct BandPlanNameRow
{
    BandPlan::Band band;
    QStringView name;
};

constexpr BandPlanNameRow kBandPlanNames[] = {
    {PlanBand::m2200, u"2200m"}, {PlanBand::m630, u"630m"}, {PlanBand::m160, u"160m"},
    {PlanBand::m80, u"80m"},     {PlanBand::m60, u"60m"},   {PlanBand::m40, u"40m"},
    {PlanBand::m30, u"30m"},     {PlanBand::m20, u"20m"},   {PlanBand::m17, u"17m"},
    {PlanBand::m15, u"15m"},     {PlanBand::m12, u"12m"},   {PlanBand::m10, u"10m"},
    {PlanBand::m6, u"6m"},       {PlanBand::m4, u"4m"},     {PlanBand::m2, u"2m"},
    {PlanBand::m1_25, u"1.25m"}, {PlanBand::cm70, u"70cm"}, {PlanBand::cm33, u"33cm"},
    {PlanBand::cm23, u"23cm"},
};
static_assert(std::size(kBandPlanNames) == BandPlan::BandCount);

const BandPlanEdgeRow* bandPlanRowOf(qint64 hz, unsigned mask)
{
    for (const BandPlanEdgeRow& row : kBandPlanEdges) {
        if ((row.regions & mask) && hz >= row.lowestHz && hz <= row.highestHz)
            return &row;
    }
    return nullptr;
}

} // namespace

std::optional<BandPlan::Region> BandPlan::regionFromSetting(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t == u"1")
        return Region::One;
    if (t == u"2")
        return Region::Two;
    if (t == u"3")
        return Region::Three;
    return std::nullopt;
}

std::optional<BandPlan::Band> BandPlan::bandOf(qint64 hz) const
{
    if (const BandPlanEdgeRow* row = bandPlanRowOf(hz, bandPlanMask(m_region)))
        return row->band;
    return std::nullopt;
}

std::optional<BandPlan::Edges> BandPlan::edges(Band band) const
{
    const unsigned mask = bandPlanMask(m_region);
    for (const BandPlanEdgeRow& row : kBandPlanEdges) {
        if (row.band == band && (row.regions & mask))
            return Edges{row.lowestHz, row.highestHz};
    }
    return std::nullopt;
}

ModeGroup BandPlan::groupOf(qint64 hz) const
{
    const unsigned mask = bandPlanMask(m_region);
    const BandPlanEdgeRow* band = bandPlanRowOf(hz, mask);
    if (!band)
        return ModeGroup::Unknown;
    for (const qint64 dial : kBandPlanDigitalDials) {
        if (hz >= dial && hz <= dial + kBandPlanDialWidth)
            return ModeGroup::Digital;
    }
    ModeGroup group = ModeGroup::Unknown;
    for (const BandPlanSegmentRow& row : kBandPlanSegments) {
        if (row.band == band->band && (row.regions & mask) && row.startHz <= hz)
            group = row.group;
    }
    return group;
}

QString BandPlan::name(Band band)
{
    for (const BandPlanNameRow& row : kBandPlanNames) {
        if (row.band == band)
            return row.name.toString();
    }
    return QString();
}

std::optional<BandPlan::Band> BandPlan::fromName(QStringView name)
{
    for (const BandPlanNameRow& row : kBandPlanNames) {
        if (name.compare(row.name, Qt::CaseInsensitive) == 0)
            return row.band;
    }
    return std::nullopt;
}
