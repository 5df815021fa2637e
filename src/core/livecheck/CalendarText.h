#pragma once

#include <QString>

// The page text an activation works on, held within what the calendar list
// can be built from. The text arrives as each division's text followed by a
// line break:
//   "DXNews.com calendar\nDecember 2026\n01 Dec - 20 Dec\n3Y0K\n..."
// A widget can put any amount of text in its divisions; the list is built from
// at most kMaxLines lines, each of at most kMaxLineLength code units (the rest
// of a longer line is dropped, the lines after it stay), and at most
// kMaxUnits code units in all, so 1 MiB of text. The page's script applies the
// same walk before its answer crosses into the program (kReadDivisions in the
// calendar window); this one holds whatever arrives all the same.
class CalendarText
{
public:
    static constexpr int kMaxLines = 32768;
    static constexpr int kMaxLineLength = 32769;
    static constexpr qsizetype kMaxUnits = 512 * 1024;

    // The text cut to the limits, ending in a line break unless empty. A line
    // ends at "\r\n", "\n", "\r", U+2028 or U+2029, as in a text box; a cut
    // never splits a surrogate pair. A text within the limits that ends in a
    // line break comes back as it is.
    static QString bounded(const QString& text);
};
