#pragma once

#include "livecheck/LiveCheck.h"
#include "session/IncomingLine.h"

#include <functional>

class BandFilter;

// What becomes of one line from the node, in the order the window has always
// followed:
//   1. the line is cleaned and judged by the band filter; a line it drops
//      goes nowhere ("DX de W3LPL:  7005.0  3Y0K ..." with 40 m off);
//   2. its callsign is looked up in the calendar list, when that list
//      exists;
//   3. then in the DXpedition list, unless the calendar had it;
//   4. a callsign found while the live check is on makes a hit (marked,
//      copied with the time, listed, announced); anything else is shown.
// The lookups are the caller's (they read lists it owns); this decides which
// run, in which order, and what their results mean.
struct LineDecision
{
    enum class Outcome
    {
        Drop,
        Show,
        Hit
    };
    using Lookup = std::function<LiveCheck::Result(const QString& workingCopy)>;

    Outcome outcome = Outcome::Drop;
    IncomingLine line;       // the response and the working copy
    LiveCheck::Result match; // the last lookup's result; empty after a drop

    // calendar is empty while the calendar list does not exist yet.
    static LineDecision decide(const QString& received, const BandFilter& bands,
                               const Lookup& calendar, const Lookup& dxpeditions,
                               bool liveCheckOn);
};
