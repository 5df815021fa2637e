#include "rig/RigTuning.h"

#include "rig/OmniRigModes.h"
#include "spots/SpotText.h"

#include <limits>

namespace RigTuning {

namespace {

using namespace OmniRigModes;

struct Row
{
    qint64 lowest;
    qint64 highest;
    qint32 mode;
};

// CW is always upper CW; voice is lower sideband below 10 MHz and upper
// sideband from 14 MHz up.
constexpr Row kModeTable[] = {
    {18300, 18389, PM_CW_U},    {18390, 18500, PM_SSB_L},   {35000, 35999, PM_CW_U},
    {36000, 38000, PM_SSB_L},   {53150, 53409, PM_CW_U},    {53410, 56500, PM_SSB_L},
    {70000, 70499, PM_CW_U},    {70500, 73000, PM_SSB_L},   {101000, 115000, PM_CW_U},
    {140000, 140999, PM_CW_U},  {141000, 143500, PM_SSB_U}, {180680, 181109, PM_CW_U},
    {181110, 181680, PM_SSB_U}, {210000, 211509, PM_CW_U},  {211510, 214500, PM_SSB_U},
    {248900, 249309, PM_CW_U},  {249310, 249900, PM_SSB_U}, {280000, 282019, PM_CW_U},
    {282020, 289990, PM_SSB_U}, {500000, 500999, PM_CW_U},  {501000, 510000, PM_SSB_U},
};

} // namespace

std::optional<qint32> modeForFrequency(qint64 f)
{
    for (const Row& row : kModeTable) {
        if (f >= row.lowest && f <= row.highest)
            return row.mode;
    }
    return std::nullopt;
}

TunePlan planTune(const QString& stringafreq)
{
    TunePlan plan;
    if (stringafreq.isEmpty())
        return plan;
    if (const std::optional<int> f = SpotText::valueOfDigits(stringafreq))
        plan.mode = modeForFrequency(*f);
    if (const std::optional<qint64> hz = SpotText::hzOfDigits(stringafreq);
        hz && *hz <= std::numeric_limits<qint32>::max())
        plan.hz = qint32(*hz);
    return plan;
}

const std::array<std::pair<qint32, qint32>, 5>& modeCycle()
{
    static const std::array<std::pair<qint32, qint32>, 5> cycle = {{
        {PM_CW_U, PM_SSB_U},
        {PM_SSB_U, PM_SSB_L},
        {PM_SSB_L, PM_FM},
        {PM_FM, PM_AM},
        {PM_AM, PM_CW_U},
    }};
    return cycle;
}

} // namespace RigTuning
