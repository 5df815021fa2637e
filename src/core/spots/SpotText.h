#pragma once

#include <QString>

#include <optional>

// The text functions that read a cluster node's spot line. A spot line looks
// like this (columns counted from 1):
//
//   DX de Q1AAA:     14025.0  Q9ZZZ        CW 599
//
// columns 17-24 hold the frequency in kHz with one decimal, the spotted
// callsign starts three characters after the last digit of the last decimal
// number of the line. None of them keeps state or fails on any input.

// Removes the control characters of a received text, the bidirectional
// controls among them, but keeps its line ends, then trims blanks and line
// ends at both ends.
//   "\r\nDX de X\r\n" -> "DX de X";  "a\tb" -> "ab";  "a\r\nb" stays as it is.
QString CleanString(const QString& AStr);

// Keeps only the ASCII digits 0-9, in their order.
//   " 14025.0" -> "140250";  "  1830.5" -> "18305";  "CW" -> ""
QString RimuoviPuntiEDestrigna(const QString& input);

// 1-based position of the last digit of the last "digits.digits" number in
// the text, -1 when there is none.
//   "DX de Q1AAA:     14025.0  Q9ZZZ        CW 599" -> 24
//   "1.2.3" -> 3 (only 1.2 matches)
int PosizioneUltimoNumero(const QString& input);

// The word that starts at the 1-based startPosition and runs up to the next
// blank (U+0020 only) or the end of the text.
//   ("DX de Q1AAA:     14025.0  Q9ZZZ        CW 599", 27) -> "Q9ZZZ"
//   (same line, 17) -> "" since column 17 is a blank
QString ScansionaStringa(const QString& input, int startPosition);

// Values the rest of the program derives from a spot line.
namespace SpotText {

// A received text is a DX spot when it begins with the capital letters "DX".
//   "DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2" -> true
//   "dx de w3lpl: ..." -> false
bool isDxSpot(const QString& line);

// The digits of the frequency field, columns 17-24 (fewer when the line is
// shorter).
//   "DX de Q1AAA:     14025.0  Q9ZZZ" -> "140250"
//   "DX de Q1AAA:    1296100.0  Q9ZZZ" -> "2961000" (the leading 1 is in
//   column 16 and gets lost, as the node put it outside the field)
QString frequencyDigits(const QString& line);

// Digits read as a 32-bit signed decimal integer; none when there is no digit
// or the number does not fit.
//   "140250" -> 140250;  "" -> none
std::optional<int> valueOfDigits(const QString& digits);

// The frequency value F of a spot line: its frequency digits as a number, in
// tenths of a kHz (14025.0 kHz gives 140250). None when the field holds no
// digit.
std::optional<int> frequencyValue(const QString& line);

// The frequency sent to a rig: the digits followed by "00", in Hz.
//   "140250" -> 14025000.  None without digits or when it does not fit.
std::optional<qint64> hzOfDigits(const QString& digits);

// The frequency of a spot line in Hz, for tuning.
//   "DX de Q1AAA:     14025.0  Q9ZZZ" -> 14025000
std::optional<qint64> frequencyHz(const QString& line);

// The spotted callsign: the word three characters after the last decimal
// number, only for a DX spot; empty otherwise.
//   "DX de Q1AAA:     14025.0  Q9ZZZ        CW 599" -> "Q9ZZZ"
//   "DX de Q1AAA:     14025.0  Q9ZZZ        1.5 kHz up" -> "Hz": the number
//   in the comment is the last one, and the word is read three characters
//   after its last digit; that is how the live check reads such a line.
QString spottedCallsign(const QString& line);

} // namespace SpotText
