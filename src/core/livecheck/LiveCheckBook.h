#pragma once

#include "livecheck/CalendarList.h"
#include "livecheck/CalendarListSink.h"
#include "livecheck/DxpeditionList.h"
#include "livecheck/LiveCheck.h"
#include "livecheck/SpottedList.h"

#include <QString>
#include <QStringList>

// The live check's lists in one place: the DXpedition list (the downloaded
// file and the user's own callsigns), the calendar list the calendar window
// hands in at each activation, and the DXpeditions spotted this run. The
// main window asks it about each spot line; the calendar window fills it
// through CalendarListSink and knows nothing else of it. It exists from
// start-up, so a spot line never depends on whether the calendar window has
// been made yet.
class LiveCheckBook : public CalendarListSink
{
public:
    LiveCheckBook() = default;
    LiveCheckBook(const LiveCheckBook&) = delete;
    LiveCheckBook& operator=(const LiveCheckBook&) = delete;

    // StringListDolv, StringListShort and FinalstringListDolv.
    DxpeditionList& dxpeditions() { return m_dxpeditions; }
    const DxpeditionList& dxpeditions() const { return m_dxpeditions; }

    // The calendar list exists from the first activation on.
    bool calendarExists() const { return m_calendar.exists(); }
    // The callsign of a shown line against the calendar list (empty while
    // that list does not exist), and against the DXpedition list:
    //   "DX de W3LPL:     21021.0  3Y0K         CW 579" -> "3Y0K", found or not
    LiveCheck::Result checkCalendar(const QString& stringaricevuta) const;
    LiveCheck::Result checkDxpeditions(const QString& stringaricevuta) const;

    // The calendar window opens: the callsigns its grid gave at its last
    // close are forgotten (those already added to the DXpedition list stay).
    void clearOwnCalls() { m_dxpeditions.StringListShort.clear(); }

    // ListView1's rows and PrintedResults.
    SpottedList& spotted() { return m_spotted; }
    const SpottedList& spotted() const { return m_spotted; }

    // CalendarListSink
    void dropCalendarList() override;
    void setCalendarList(CalendarList list) override;
    const CalendarList& calendarList() const override { return m_calendar; }
    void addOwnCalls(const QStringList& gridCells) override;

    // A list this long takes a noticeable while to free, so a worker does it.
    static constexpr qsizetype kFreeAsideEntries = 100000;

private:
    DxpeditionList m_dxpeditions;
    CalendarList m_calendar;
    SpottedList m_spotted;
};
