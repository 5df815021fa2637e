// The mode table and the tuning plan of a clicked line, on any frequency
// value and any digits text: the mode follows the table's promises (CW is
// upper CW, voice is lower sideband below 10 MHz and upper from 14 MHz, no
// mode above 51000.0 kHz), and the plan writes exactly what the digits say.

#include "FuzzSupport.h"

#include "rig/OmniRigModes.h"
#include "rig/RigTuning.h"

#include <limits>

namespace {

using namespace OmniRigModes;

void checkMode(qint64 f)
{
    const std::optional<qint32> mode = RigTuning::modeForFrequency(f);
    if (!mode)
        return;
    FUZZ_CHECK(*mode == PM_CW_U || *mode == PM_SSB_L || *mode == PM_SSB_U);
    FUZZ_CHECK(f >= 18300 && f <= 510000);
    if (*mode == PM_SSB_L)
        FUZZ_CHECK(f < 100000);
    if (*mode == PM_SSB_U)
        FUZZ_CHECK(f >= 140000);
}

// Digits read the plain way: none unless every code unit is 0-9.
std::optional<qint64> digitsValue(const QString& s)
{
    if (s.isEmpty())
        return std::nullopt;
    qint64 v = 0;
    for (const QChar c : s) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (v > std::numeric_limits<qint64>::max() / 100)
            return qint64(-1); // too large for any use
        v = v * 10 + (c.unicode() - u'0');
    }
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const quint8 flags = in.byte();

    // A raw value: the first eight bytes, and the values next to it, so the
    // bounds of every row are crossed from both sides.
    qint64 f = 0;
    for (int i = 0; i < 8; ++i)
        f = qint64(quint64(f) << 8 | in.byte());
    if (flags & 2)
        f %= 600000; // mostly inside the table's span
    for (qint64 d = -1; d <= 1; ++d) {
        if ((d < 0 && f == std::numeric_limits<qint64>::min())
            || (d > 0 && f == std::numeric_limits<qint64>::max()))
            continue;
        checkMode(f + d);
    }

    // The plan of a clicked line's digits.
    const QString digits = FuzzInput::text(in.rest(), flags & 1);
    const RigTuning::TunePlan plan = RigTuning::planTune(digits);
    const std::optional<qint64> value = digitsValue(digits);
    if (!value) {
        FUZZ_CHECK(!plan.mode && !plan.hz);
        return 0;
    }
    const bool fitsInt = *value >= 0 && *value <= std::numeric_limits<int>::max();
    if (fitsInt)
        FUZZ_CHECK(plan.mode == RigTuning::modeForFrequency(*value));
    else
        FUZZ_CHECK(!plan.mode);
    const bool fitsHz = *value >= 0 && *value <= std::numeric_limits<qint32>::max() / 100;
    FUZZ_CHECK(plan.hz.has_value() == fitsHz);
    if (plan.hz)
        FUZZ_CHECK(*plan.hz == *value * 100);
    return 0;
}
