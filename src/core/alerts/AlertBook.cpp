#include "alerts/AlertBook.h"

#include "alerts/AlertSpot.h"

AlertBook::AlertBook(QList<AlertRule> rules) : m_rules(std::move(rules)) {}

void AlertBook::setRules(QList<AlertRule> rules)
{
    m_rules = std::move(rules);
}

void AlertBook::forgetOld(qint64 now)
{
    while (!m_order.empty()) {
        const Entry& oldest = m_order.front();
        const bool expired = now - oldest.at >= kRepeatMs;
        const bool overfull = m_lastAlert.size() > kMaxRemembered ||
                              m_order.size() > std::size_t(2 * kMaxRemembered);
        if (!expired && !overfull)
            break;
        const auto it = m_lastAlert.constFind(oldest.station);
        if (it != m_lastAlert.cend() && it.value() == oldest.at)
            m_lastAlert.erase(it);
        m_order.pop_front();
    }
}

QList<AlertRule> AlertBook::check(const AlertSpot& spot, const QDateTime& nowUtc)
{
    QList<AlertRule> fired;
    for (const AlertRule& rule : m_rules) {
        if (rule.on && rule.matches(spot, spot.status))
            fired.append(rule);
    }
    if (fired.isEmpty())
        return fired;

    const qint64 now = nowUtc.toMSecsSinceEpoch();
    forgetOld(now);
    const Station station{spot.callsign, spot.band};
    const auto it = m_lastAlert.constFind(station);
    // A clock put back (now before the last alert) does not silence the
    // station until the old time comes round again.
    if (it != m_lastAlert.cend() && now >= it.value() && now - it.value() < kRepeatMs)
        return {};
    m_lastAlert.insert(station, now);
    m_order.push_back({station, now});
    forgetOld(now);
    return fired;
}
