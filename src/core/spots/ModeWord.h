#pragma once

#include "spots/ModeGroup.h"

#include <QString>
#include <QStringView>

#include <optional>

// A word of a spot's comment that names an operating mode, as spotters and
// skimmers write them:
//   "CW 19 dB 18 WPM CQ" -> CW;  "FT8 -12 dB FK68 CQ" -> FT8;  "tnx usb" -> USB
//   "BPSK31" -> PSK31;  "RTTY 45 BPS" -> RTTY;  "ft4" -> FT4
class ModeWord
{
public:
    // The mode as the program writes it ("CW", "USB", "FT8", "PSK31"),
    // shared static text that costs no allocation, and its group.
    QString mode;
    ModeGroup group = ModeGroup::Unknown;

    // None when the word names no mode. Either case is taken, except for
    // "AM" and "FM", which only count in capitals: in small letters they
    // are more often a word of the text ("am QRT").
    static std::optional<ModeWord> of(QStringView word);
};
