#include "spots/BandPlan.h"

#include <array>

namespace {

constexpr qint64 bandPlanHz(double kHz)
{
    return qint64(kHz * 1000.0 + 0.5);
}

// Which regions a row of the tables below holds for.
constexpr unsigned kR1 = 1u << 1;
constexpr unsigned kR2 = 1u << 2;
constexpr unsigned kR3 = 1u << 3;
constexpr unsigned kAllRegions = kR1 | kR2 | kR3;

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

using B = BandPlan::Band;

// The edges of the IARU regions' band plans (the ITU allocations to the
// amateur service), in kHz. 60 m is the worldwide 5351.5-5366.5 of 2015.
constexpr BandPlanEdgeRow kBandPlanEdges[] = {
    {B::m2200, kAllRegions, bandPlanHz(135.7), bandPlanHz(137.8)},
    {B::m630, kAllRegions, bandPlanHz(472), bandPlanHz(479)},
    {B::m160, kR1, bandPlanHz(1810), bandPlanHz(2000)},
    {B::m160, kR2 | kR3, bandPlanHz(1800), bandPlanHz(2000)},
    {B::m80, kR1, bandPlanHz(3500), bandPlanHz(3800)},
    {B::m80, kR2, bandPlanHz(3500), bandPlanHz(4000)},
    {B::m80, kR3, bandPlanHz(3500), bandPlanHz(3900)},
    {B::m60, kAllRegions, bandPlanHz(5351.5), bandPlanHz(5366.5)},
    {B::m40, kR1 | kR3, bandPlanHz(7000), bandPlanHz(7200)},
    {B::m40, kR2, bandPlanHz(7000), bandPlanHz(7300)},
    {B::m30, kAllRegions, bandPlanHz(10100), bandPlanHz(10150)},
    {B::m20, kAllRegions, bandPlanHz(14000), bandPlanHz(14350)},
    {B::m17, kAllRegions, bandPlanHz(18068), bandPlanHz(18168)},
    {B::m15, kAllRegions, bandPlanHz(21000), bandPlanHz(21450)},
    {B::m12, kAllRegions, bandPlanHz(24890), bandPlanHz(24990)},
    {B::m10, kAllRegions, bandPlanHz(28000), bandPlanHz(29700)},
    {B::m6, kAllRegions, bandPlanHz(50000), bandPlanHz(54000)},
    {B::m4, kR1, bandPlanHz(70000), bandPlanHz(70500)},
    {B::m2, kR1, bandPlanHz(144000), bandPlanHz(146000)},
    {B::m2, kR2 | kR3, bandPlanHz(144000), bandPlanHz(148000)},
    {B::m1_25, kR2, bandPlanHz(220000), bandPlanHz(225000)},
    {B::cm70, kR1 | kR3, bandPlanHz(430000), bandPlanHz(440000)},
    {B::cm70, kR2, bandPlanHz(420000), bandPlanHz(450000)},
    {B::cm33, kR2, bandPlanHz(902000), bandPlanHz(928000)},
    {B::cm23, kAllRegions, bandPlanHz(1240000), bandPlanHz(1300000)},
};

struct BandPlanSegmentRow
{
    BandPlan::Band band;
    unsigned regions;
    qint64 startHz;
    ModeGroup group;
};

constexpr ModeGroup kCw = ModeGroup::Cw;
constexpr ModeGroup kDigital = ModeGroup::Digital;
constexpr ModeGroup kPhone = ModeGroup::Phone;

// Where each segment of a band starts, in kHz; it runs to the next start in
// the same band or to the band's top, and a start below a region's bottom
// edge (1800 in Region 1) covers the band from its bottom. On HF the three
// regions' plans agree but for the band edges; the propagation beacons
// (14100, 18110, 21150, 24930, 28200) count as CW. Above 6 m only the
// weak-signal parts are told apart: CW at their bottom, then SSB; the rest
// is FM and counts as phone.
constexpr BandPlanSegmentRow kBandPlanSegments[] = {
    {B::m2200, kAllRegions, bandPlanHz(135.7), kCw},
    {B::m2200, kAllRegions, bandPlanHz(137.6), kDigital},
    {B::m630, kAllRegions, bandPlanHz(472), kCw},
    {B::m630, kAllRegions, bandPlanHz(475), kDigital},
    {B::m160, kAllRegions, bandPlanHz(1800), kCw},
    {B::m160, kAllRegions, bandPlanHz(1838), kDigital},
    {B::m160, kAllRegions, bandPlanHz(1843), kPhone},
    {B::m80, kAllRegions, bandPlanHz(3500), kCw},
    {B::m80, kAllRegions, bandPlanHz(3570), kDigital},
    {B::m80, kAllRegions, bandPlanHz(3600), kPhone},
    {B::m60, kAllRegions, bandPlanHz(5351.5), kCw},
    {B::m60, kAllRegions, bandPlanHz(5354), kPhone},
    {B::m40, kAllRegions, bandPlanHz(7000), kCw},
    {B::m40, kAllRegions, bandPlanHz(7040), kDigital},
    {B::m40, kAllRegions, bandPlanHz(7060), kPhone},
    {B::m30, kAllRegions, bandPlanHz(10100), kCw},
    {B::m30, kAllRegions, bandPlanHz(10130), kDigital},
    {B::m20, kAllRegions, bandPlanHz(14000), kCw},
    {B::m20, kAllRegions, bandPlanHz(14070), kDigital},
    {B::m20, kAllRegions, bandPlanHz(14099), kCw},
    {B::m20, kAllRegions, bandPlanHz(14101), kDigital},
    {B::m20, kAllRegions, bandPlanHz(14112), kPhone},
    {B::m17, kAllRegions, bandPlanHz(18068), kCw},
    {B::m17, kAllRegions, bandPlanHz(18095), kDigital},
    {B::m17, kAllRegions, bandPlanHz(18109), kCw},
    {B::m17, kAllRegions, bandPlanHz(18111), kDigital},
    {B::m17, kAllRegions, bandPlanHz(18120), kPhone},
    {B::m15, kAllRegions, bandPlanHz(21000), kCw},
    {B::m15, kAllRegions, bandPlanHz(21070), kDigital},
    {B::m15, kAllRegions, bandPlanHz(21120), kCw},
    {B::m15, kAllRegions, bandPlanHz(21151), kPhone},
    {B::m12, kAllRegions, bandPlanHz(24890), kCw},
    {B::m12, kAllRegions, bandPlanHz(24915), kDigital},
    {B::m12, kAllRegions, bandPlanHz(24929), kCw},
    {B::m12, kAllRegions, bandPlanHz(24931), kDigital},
    {B::m12, kAllRegions, bandPlanHz(24940), kPhone},
    {B::m10, kAllRegions, bandPlanHz(28000), kCw},
    {B::m10, kAllRegions, bandPlanHz(28070), kDigital},
    {B::m10, kAllRegions, bandPlanHz(28190), kCw},
    {B::m10, kAllRegions, bandPlanHz(28225), kPhone},
    {B::m10, kAllRegions, bandPlanHz(29200), kDigital},
    {B::m10, kAllRegions, bandPlanHz(29300), kPhone},
    {B::m6, kAllRegions, bandPlanHz(50000), kCw},
    {B::m6, kAllRegions, bandPlanHz(50100), kPhone},
    {B::m6, kAllRegions, bandPlanHz(50300), kDigital},
    {B::m6, kR1, bandPlanHz(50400), kCw},
    {B::m6, kAllRegions, bandPlanHz(50500), kPhone},
    {B::m4, kR1, bandPlanHz(70000), kCw},
    {B::m4, kR1, bandPlanHz(70100), kPhone},
    {B::m2, kR1, bandPlanHz(144000), kCw},
    {B::m2, kR1, bandPlanHz(144150), kPhone},
    {B::m2, kR1, bandPlanHz(144400), kCw},
    {B::m2, kR1, bandPlanHz(144500), kPhone},
    {B::m2, kR2 | kR3, bandPlanHz(144000), kCw},
    {B::m2, kR2 | kR3, bandPlanHz(144100), kPhone},
    {B::m2, kR2 | kR3, bandPlanHz(144275), kCw},
    {B::m2, kR2 | kR3, bandPlanHz(144300), kPhone},
    {B::m1_25, kR2, bandPlanHz(220000), kPhone},
    {B::m1_25, kR2, bandPlanHz(222000), kCw},
    {B::m1_25, kR2, bandPlanHz(222050), kPhone},
    {B::cm70, kAllRegions, bandPlanHz(420000), kPhone},
    {B::cm70, kAllRegions, bandPlanHz(432000), kCw},
    {B::cm70, kAllRegions, bandPlanHz(432100), kPhone},
    {B::cm70, kR1, bandPlanHz(432400), kCw},
    {B::cm70, kR1, bandPlanHz(432500), kPhone},
    {B::cm33, kR2, bandPlanHz(902000), kPhone},
    {B::cm33, kR2, bandPlanHz(903000), kCw},
    {B::cm33, kR2, bandPlanHz(903100), kPhone},
    {B::cm23, kAllRegions, bandPlanHz(1240000), kPhone},
    {B::cm23, kAllRegions, bandPlanHz(1296000), kCw},
    {B::cm23, kAllRegions, bandPlanHz(1296150), kPhone},
    {B::cm23, kAllRegions, bandPlanHz(1296800), kCw},
    {B::cm23, kAllRegions, bandPlanHz(1297000), kPhone},
};

// The dial frequencies of FT8 and FT4 (WSJT-X's defaults), in kHz; their
// signals lie up to 3 kHz above the dial, often inside a CW or phone
// segment.
constexpr qint64 kBandPlanDigitalDials[] = {
    bandPlanHz(1840),   bandPlanHz(3573),   bandPlanHz(3575),   bandPlanHz(5357),
    bandPlanHz(7047.5), bandPlanHz(7074),   bandPlanHz(10136),  bandPlanHz(10140),
    bandPlanHz(14074),  bandPlanHz(14080),  bandPlanHz(18100),  bandPlanHz(18104),
    bandPlanHz(21074),  bandPlanHz(21140),  bandPlanHz(24915),  bandPlanHz(24919),
    bandPlanHz(28074),  bandPlanHz(28180),  bandPlanHz(50313),  bandPlanHz(50318),
    bandPlanHz(70154),  bandPlanHz(144174),
};
constexpr qint64 kBandPlanDialWidth = 3000;

struct BandPlanNameRow
{
    BandPlan::Band band;
    QStringView name;
};

constexpr BandPlanNameRow kBandPlanNames[] = {
    {B::m2200, u"2200m"}, {B::m630, u"630m"}, {B::m160, u"160m"}, {B::m80, u"80m"},
    {B::m60, u"60m"},     {B::m40, u"40m"},   {B::m30, u"30m"},   {B::m20, u"20m"},
    {B::m17, u"17m"},     {B::m15, u"15m"},   {B::m12, u"12m"},   {B::m10, u"10m"},
    {B::m6, u"6m"},       {B::m4, u"4m"},     {B::m2, u"2m"},     {B::m1_25, u"1.25m"},
    {B::cm70, u"70cm"},   {B::cm33, u"33cm"}, {B::cm23, u"23cm"},
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
