#pragma once

#include <QString>

#include <optional>

// What a click on a pane line hands to the tuning step. A spot line keeps the
// node's columns, so the frequency is read from columns 17-24:
//
//   DX de Q1AAA:     14025.0  Q9ZZZ        CW 599        -> "140250"
//   DX de Q1AAA:     14025.0  Q9ZZZ        CW 599  23:41 -> "140250"
namespace ClickedLine {

enum class Pane
{
    Terminal, // Re1: only lines beginning with "DX" tune
    Spots     // Re3: holds nothing but hit lines and its two start lines
};

// The frequency digits of the clicked line, possibly empty, or none when the
// line cannot tune: it is empty, it does not begin with "DX" (terminal pane
// only), or the text from column 18 up to the next blank is longer than 7
// characters.
//   "DX de Q1AAA:    144300.0  Q9ZZZ" -> "1443000" (44300.0 passes the test)
//   "Dx de ..." in the terminal pane   -> none
std::optional<QString> tuningDigits(const QString& line, Pane pane);

} // namespace ClickedLine
