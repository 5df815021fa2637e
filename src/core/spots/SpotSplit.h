#pragma once

#include <QStringView>

#include <optional>

// Where a DX station working split listens, read from the spot's comment.
// The frequencies are absolute, in Hz: the frequency the user transmits on,
// which is what a rig's split call takes.
//   "UP 2", "UP2", "U2" on 14025.0 kHz -> Up, 14027000
//   "up 5-10" on 14195.0               -> Up, 14200000 to 14205000
//   "DWN 3" on 7160.0                  -> Down, 7157000
//   "QSX 14.025", "QSX 14025", "QSX 025" on 14020.0 -> Listen, 14025000
//   "UP" on 14025.0                    -> Up, no frequency
class SpotSplit
{
public:
    enum class Direction : unsigned char
    {
        Up,
        Down,
        Listen // the comment names the frequency: "QSX 14025"
    };

    Direction direction = Direction::Up;
    // Both 0 when the comment gives the direction alone ("UP"); equal
    // unless the comment gives a range ("up 5-10").
    qint64 lowestHz = 0;
    qint64 highestHz = 0;

    bool hasFrequency() const { return lowestHz > 0; }

    // The first split the comment names, for a spot on spotHz. An offset is
    // in kHz ("UP 1.5" is 1500 Hz up) unless it is written as an absolute
    // frequency ("UP 14.195", "DWN 7155"); "QSX" with one to three digits
    // names the kHz within the spot's MHz ("QSX 025" on 14020.0 is
    // 14025.0). A frequency outside 1.8 MHz to 250 GHz counts as none.
    static std::optional<SpotSplit> fromComment(QStringView comment, qint64 spotHz);

    friend bool operator==(const SpotSplit&, const SpotSplit&) = default;
};
