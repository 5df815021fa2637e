#include "livecheck/LiveCheckBook.h"

#include <QtConcurrent/QtConcurrentRun>

#include <utility>

LiveCheck::Result LiveCheckBook::checkCalendar(const QString& stringaricevuta) const
{
    return LiveCheck::verifica(stringaricevuta, m_calendar.index());
}

LiveCheck::Result LiveCheckBook::checkDxpeditions(const QString& stringaricevuta) const
{
    return LiveCheck::verifica(stringaricevuta, m_dxpeditions.checkIndex());
}

void LiveCheckBook::dropCalendarList()
{
    CalendarList old = std::exchange(m_calendar, CalendarList());
    m_calendar.rebuild({});
    if (old.FinalstringList().size() > kFreeAsideEntries)
        (void)QtConcurrent::run([old = std::move(old)] {});
}

void LiveCheckBook::setCalendarList(CalendarList list)
{
    m_calendar = std::move(list);
}

void LiveCheckBook::addOwnCalls(const QStringList& gridCells)
{
    m_dxpeditions.leggoshorteaggiungoadolv(gridCells);
}
