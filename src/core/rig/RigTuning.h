#pragma once

#include <QString>

#include <array>
#include <optional>
#include <utility>

// The rules of tuning a rig to a clicked spot and of the Alt+F2 mode step,
// kept apart from the rig so they can be checked on their own.
namespace RigTuning {

// The mode for a frequency value F in tenths of a kHz (the spot line
// "DX de Q1AAA:     14025.0  Q9ZZZ" gives F = 140250 and CW). Bounds
// are inclusive; between the rows and above 51000.0 kHz there is no mode.
//   140250 -> PM_CW_U;  141950 -> PM_SSB_U;  37250 -> PM_SSB_L;
//   289995 -> none (the 10 m voice row ends at 289990)
std::optional<qint32> modeForFrequency(qint64 f);

// What one rig is told for the frequency digits of a clicked line. An empty
// text writes nothing. The mode is left alone outside the table; the
// frequency (the digits followed by "00", in Hz) is not written when it does
// not fit a 32-bit signed integer.
//   "140250"  -> mode PM_CW_U, 14025000 Hz
//   "1443000" -> no mode, 144300000 Hz
//   "21474837" -> no mode, no frequency (2147483700 Hz is too large)
struct TunePlan
{
    std::optional<qint32> mode;
    std::optional<qint32> hz;
};
TunePlan planTune(const QString& stringafreq);

// The Alt+F2 step: each pair is "if the mode reads as first, set second",
// tried in this order with a fresh read before every comparison.
// CW -> USB -> LSB -> FM -> AM -> CW; any other mode stays as it is.
const std::array<std::pair<qint32, qint32>, 5>& modeCycle();

} // namespace RigTuning
