#pragma once

#include <QtGlobal>

// Operating modes as the rig interface passes them: one flag each. The five
// the program sets come first; the others only ever come back from a read.
namespace OmniRigModes {

constexpr qint32 PM_CW_U = 0x00800000;
constexpr qint32 PM_CW_L = 0x01000000;
constexpr qint32 PM_SSB_U = 0x02000000;
constexpr qint32 PM_SSB_L = 0x04000000;
constexpr qint32 PM_DIG_U = 0x08000000;
constexpr qint32 PM_DIG_L = 0x10000000;
constexpr qint32 PM_AM = 0x20000000;
constexpr qint32 PM_FM = 0x40000000;
// A mode the rig reports that has no flag of its own.
constexpr qint32 PM_UNKNOWN = 0;

} // namespace OmniRigModes
