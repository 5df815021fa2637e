#pragma once

#include <QStringView>

#include <optional>

// A number as nodes and spotters write frequencies and offsets: ASCII
// digits with at most one point and at most three decimals.
//   "21057.61" -> 21057610 thousandths, 2 decimals
//   "1296200.0" -> 1296200000 thousandths, 1 decimal;  "025" -> 25000, 0
//   "14.0255", "1.2.3", "-5", ".5", "5." -> none
struct DecimalNumber
{
    qint64 thousandths = 0; // the value times 1000: kHz read as Hz
    int decimals = 0;

    // None unless the whole text is such a number with at most nine digits
    // before the point (250 GHz is 250000000 kHz).
    static std::optional<DecimalNumber> read(QStringView text);
};
