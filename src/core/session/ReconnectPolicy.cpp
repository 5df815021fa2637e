#include "session/ReconnectPolicy.h"

#include <algorithm>
#include <cmath>

ReconnectPolicy::ReconnectPolicy(const SessionTimings& timings) : m_timings(timings) {}

void ReconnectPolicy::setNodes(const Node& home, const QList<Node>& others)
{
    m_home = home;
    m_failover.clear();
    // Answered nodes first, each group in list order.
    for (const Node& node : others) {
        if (node.answeredPing)
            m_failover.append(node);
    }
    for (const Node& node : others) {
        if (!node.answeredPing)
            m_failover.append(node);
    }
}

qint64 ReconnectPolicy::nextDelayMs(qint64 nowMs, double jitter) const
{
    // The back-off: first * 2^failures, capped (the shift is capped too, so
    // a long outage cannot overflow it).
    const qint64 first = std::max(0, m_timings.reconnectFirstMs);
    const qint64 most = std::max<qint64>(first, m_timings.reconnectMaxMs);
    const int doublings = std::min(m_failures, 30);
    const qint64 backOff = std::min(most, first << doublings);
    const double spread = std::clamp(jitter, -1.0, 1.0) * m_timings.reconnectJitterPercent / 100.0;
    qint64 delay = std::max<qint64>(0, std::llround(double(backOff) * (1.0 + spread)));

    // The rate limit: with the window full, wait until its oldest attempt
    // leaves it.
    const int allowed = std::max(1, m_timings.reconnectAttemptsPerWindow);
    const qint64 window = std::max(0, m_timings.reconnectWindowMs);
    QList<qint64> recent;
    for (qint64 at : m_attempts) {
        if (at > nowMs - window)
            recent.append(at);
    }
    if (recent.size() >= allowed) {
        const qint64 oldestThatMustLeave = recent[recent.size() - allowed];
        delay = std::max(delay, oldestThatMustLeave + window - nowMs);
    }
    return delay;
}

const ReconnectPolicy::Node& ReconnectPolicy::nextNode() const
{
    const int onHome = std::max(1, m_timings.failoverAfterAttempts);
    const int round = onHome + int(m_failover.size());
    const int step = m_failures % round;
    return step < onHome ? m_home : m_failover[step - onHome];
}

void ReconnectPolicy::attemptStarted(qint64 nowMs)
{
    m_attempts.append(nowMs);
    // Only the last window's attempts matter.
    const qint64 window = std::max(0, m_timings.reconnectWindowMs);
    while (!m_attempts.isEmpty() && m_attempts.first() <= nowMs - window)
        m_attempts.removeFirst();
}

void ReconnectPolicy::succeeded()
{
    m_failures = 0;
}
