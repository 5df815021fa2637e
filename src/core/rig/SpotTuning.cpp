#include "rig/SpotTuning.h"

#include "rig/OmniRigModes.h"
#include "spots/Spot.h"

#include <limits>

namespace SpotTuning {

RigTuning::TunePlan plan(const Spot& spot)
{
    using namespace OmniRigModes;
    RigTuning::TunePlan p;
    if (spot.frequencyHz > 0 && spot.frequencyHz <= std::numeric_limits<qint32>::max())
        p.hz = qint32(spot.frequencyHz);
    switch (spot.group) {
    case ModeGroup::Cw:
        p.mode = PM_CW_U;
        break;
    case ModeGroup::Digital:
        p.mode = PM_DIG_U;
        break;
    case ModeGroup::Phone:
        if (spot.mode == u"AM")
            p.mode = PM_AM;
        else if (spot.mode == u"FM")
            p.mode = PM_FM;
        else if (spot.mode == u"USB")
            p.mode = PM_SSB_U;
        else if (spot.mode == u"LSB")
            p.mode = PM_SSB_L;
        else
            p.mode = spot.frequencyHz < 10'000'000 ? PM_SSB_L : PM_SSB_U;
        break;
    case ModeGroup::Unknown:
        break;
    }
    return p;
}

} // namespace SpotTuning
