#include "pipeline/SpotPipeline.h"

#include "livecheck/LineDecision.h"
#include "livecheck/LiveCheckBook.h"
#include "spots/BandFilter.h"
#include "spots/NodeLine.h"

SpotPipeline::SpotPipeline(Setup setup, QObject* parent)
    : QObject(parent), m_setup(std::move(setup)), m_reader(BandPlan(m_setup.region))
{
}

LiveCheck::Result SpotPipeline::verifica(const QString& stringaricevuta) const
{
    return m_setup.book->checkCalendar(stringaricevuta);
}

LiveCheck::Result SpotPipeline::verifica2(const QString& stringaricevuta) const
{
    return m_setup.book->checkDxpeditions(stringaricevuta);
}

void SpotPipeline::takeLine(const QString& line, bool liveCheckOn)
{
    // The calendar list is asked once it exists, then the DXpedition list
    // unless the calendar already had the callsign.
    const LineDecision d = LineDecision::decide(
        line, *m_setup.bands,
        m_setup.book->calendarExists()
            ? LineDecision::Lookup([this](const QString& s) { return verifica(s); })
            : nullptr,
        [this](const QString& s) { return verifica2(s); }, liveCheckOn);
    const bool hit = d.outcome == LineDecision::Outcome::Hit;
    if (hit)
        emit hitFound(d.line.workingCopy, d.match.resultString);
    else if (d.outcome == LineDecision::Outcome::Show)
        emit lineShown(d.line.workingCopy);

    // Only a line that begins with "DX" after cleaning can be a live spot.
    if (!d.line.isDxSpot)
        return;
    NodeLine read = NodeLine::read(d.line.response, m_reader);
    if (read.kind != NodeLine::Kind::Spot)
        return;
    SpotEvent event = SpotEvent::resolve(std::move(*read.spot), d.line.workingCopy, m_setup.nowUtc(),
                                         m_setup.countries.get(), m_locator);
    // A band the user switched off is off for every view.
    if (event.stripBand >= 0 && !m_setup.bands->states()[event.stripBand])
        return;
    event.dxpedition = hit;
    emit spotRead(event, hit);
}
