#pragma once

#include "livecheck/CalendarList.h"

#include <QStringList>

// What the calendar window hands on, and all it knows of the live check: the
// calendar list it builds from its page at each activation, and the cells of
// its grid (the user's own callsigns) each time it closes.
class CalendarListSink
{
public:
    virtual ~CalendarListSink() = default;

    // An activation has begun: the old list goes at once, and an empty one
    // stands in until the new one is in place, so the two never take memory
    // together.
    virtual void dropCalendarList() = 0;
    // The list of the latest activation.
    virtual void setCalendarList(CalendarList list) = 0;
    virtual const CalendarList& calendarList() const = 0;

    // The grid's five cells, first row first, as the window closes.
    virtual void addOwnCalls(const QStringList& gridCells) = 0;
};
