#pragma once

#include "spots/BandFilter.h"

#include <QByteArray>
#include <QString>

// What the incoming-text handling does with one line from the node, before
// the match check and the panes:
//   "DX de W3LPL:     21021.0  VP2MXX       CW 579 up 2                    0712Z"
// is cleaned, recognised as a DX spot, cut to its first 60 characters and
// shown while the 15 m band is on; "To ALL de EA8ABC: hello" is shown whole,
// whatever the bands.
class IncomingLine
{
public:
    enum class Decision
    {
        Show,
        Drop
    };

    // Trailing blanks and controls removed, then CleanString.
    QString response;
    // "DX" exactly at the start of the cleaned text.
    bool isDxSpot = false;
    // The text to show: the response, cut to 60 characters for a DX spot.
    QString workingCopy;
    Decision decision = Decision::Show;

    static constexpr int SpotWidth = 60;

    static IncomingLine evaluate(const QString& line, const BandFilter& filter);
    static IncomingLine evaluate(const QString& line, const BandFilter::States& states);

    // The cleaning every line gets: blanks and controls removed at its end,
    // then CleanString.
    static QString clean(const QString& line);

    // Whether the bytes of a line still waiting for its end are, once
    // cleaned, a DX spot or could still become one: "DX de W3LPL: 2102",
    // "D", "\a\aD" and "  " may; "login: " and "D " (a blank after the D)
    // may not. Only the first bytes count, so judging a long tail is cheap.
    static bool tailMayBecomeSpot(const QByteArray& tail);
};
