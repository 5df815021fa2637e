#include "dxcc/ActiveDxFeed.h"

#include "dxcc/ActiveDxModel.h"
#include "spots/SpotText.h"

ActiveDxFeed::ActiveDxFeed(ActiveDxModel* model) : m_model(model) {}

void ActiveDxFeed::feed(const QString& line, const QDateTime& nowUtc, bool dxpedition)
{
    if (m_live) {
        m_model->addLine(line, nowUtc, dxpedition);
        return;
    }
    if (!SpotText::isDxSpot(line))
        return;
    const QDateTime oldest = nowUtc.addSecs(-qint64(m_model->maxAgeMinutes()) * 60);
    while (!m_waiting.empty()
           && (m_waiting.front().at < oldest || m_waiting.size() >= size_t(MaxWaiting)))
        m_waiting.pop_front();
    m_waiting.push_back({line, nowUtc, dxpedition});
}

void ActiveDxFeed::setLive(bool live)
{
    m_live = live;
    if (!live)
        return;
    for (const Waiting& w : m_waiting)
        m_model->addLine(w.line, w.at, w.dxpedition);
    m_waiting.clear();
}
