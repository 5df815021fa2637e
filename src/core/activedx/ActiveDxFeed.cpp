#include "activedx/ActiveDxFeed.h"

#include "activedx/ActiveDxModel.h"

ActiveDxFeed::ActiveDxFeed(ActiveDxModel* model) : m_model(model) {}

void ActiveDxFeed::feed(const SpotEvent& event)
{
    if (m_live) {
        m_model->addSpot(event);
        return;
    }
    if (event.stripBand < 0)
        return;
    const QDateTime oldest = event.receivedUtc.addSecs(-qint64(m_model->maxAgeMinutes()) * 60);
    while (!m_waiting.empty()
           && (m_waiting.front().receivedUtc < oldest || m_waiting.size() >= size_t(MaxWaiting)))
        m_waiting.pop_front();
    m_waiting.push_back(event);
}

void ActiveDxFeed::setLive(bool live)
{
    m_live = live;
    if (!live)
        return;
    for (const SpotEvent& e : m_waiting)
        m_model->addSpot(e);
    m_waiting.clear();
}
