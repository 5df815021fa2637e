#pragma once

#include "rig/RigTuning.h"

struct Spot;

// Tuning a rig to a spot of the DX window, by the spot's own mode rather
// than the panes' frequency table:
//   "14025.0  JA1BBB  CW 19 dB"   -> CW, 14025000 Hz
//   "3790.0   EA8XYZ  SSB"        -> LSB (phone below 10 MHz), 3790000 Hz
//   "14195.0  G8AAA   up 5"       -> USB (the band plan's phone segment)
//   "10136.0  FT8WW   FT8 -10 dB" -> the data mode (PKTUSB), 10136000 Hz
// AM and FM stay AM and FM; USB and LSB written in the comment are kept;
// a spot whose mode nothing tells leaves the rig's mode alone. The
// frequency is the spot's in Hz, not written when it does not fit the
// rig interface's 32-bit value.
namespace SpotTuning {

RigTuning::TunePlan plan(const Spot& spot);

} // namespace SpotTuning
