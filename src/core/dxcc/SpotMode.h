#pragma once

#include <QString>

#include <optional>

// The operating mode of a spot, for the DX window's Mode column and its
// CW / phone / digital filter. The comment says it when the spotter wrote
// it; otherwise the band plan the rig tuning uses decides by frequency.
//   "CW 599"             -> CW        "FT8 -12 dB FK68 CQ" -> FT8
//   "tnx QSO, USB"       -> SSB       "PSK31"              -> PSK
//   "up 2" on 14025.0    -> CW        "up 2" on 14195.0    -> SSB
class SpotMode
{
public:
    enum class Group
    {
        Unknown,
        Cw,
        Phone,
        Digital
    };

    // The mode word the window shows ("CW", "SSB", "FT8"...), empty when
    // neither the comment nor the band plan tells.
    static QString of(const QString& comment, int frequency);

    // The filter group of a mode word.
    static Group groupOf(const QString& mode);

    // The mode named by a word of the comment, none when the word is no mode.
    static std::optional<QString> fromWord(const QString& word);
};
