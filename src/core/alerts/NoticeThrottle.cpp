#include "alerts/NoticeThrottle.h"

#include <algorithm>
#include <limits>

NoticeThrottle::NoticeThrottle(qint64 windowMs, int perRule, int total)
    : m_windowMs(windowMs), m_perRule(perRule), m_total(total)
{
}

void NoticeThrottle::forget(qint64 nowMs)
{
    while (!m_sent.empty() && nowMs - m_sent.front().at >= m_windowMs)
        m_sent.pop_front();
}

bool NoticeThrottle::mayGo(const QString& rule) const
{
    if (int(m_sent.size()) >= m_total)
        return false;
    const auto own = std::count_if(m_sent.cbegin(), m_sent.cend(),
                                   [&](const Sent& s) { return s.rule == rule; });
    return own < m_perRule;
}

qint64 NoticeThrottle::freeAt(const QString& rule) const
{
    qint64 at = std::numeric_limits<qint64>::min();
    if (int(m_sent.size()) >= m_total)
        at = m_sent.front().at + m_windowMs;
    // The rule's own notices of the window, oldest first: when the oldest of
    // the last m_perRule leaves the window, one more may go.
    QList<qint64> own;
    for (const Sent& s : m_sent) {
        if (s.rule == rule)
            own.append(s.at);
    }
    if (own.size() >= m_perRule)
        at = std::max(at, own[own.size() - m_perRule] + m_windowMs);
    return at;
}

void NoticeThrottle::record(const QString& rule, qint64 nowMs)
{
    m_sent.push_back({rule, nowMs});
}

std::optional<NoticeThrottle::Notice> NoticeThrottle::offer(const Notice& notice, qint64 nowMs)
{
    forget(nowMs);
    // A rule with alerts folded already adds to them: its count goes out
    // before anything newer of it.
    if (const auto it = m_held.find(notice.rule); it != m_held.end()) {
        it->newest = notice;
        ++it->count;
        return std::nullopt;
    }
    if (mayGo(notice.rule)) {
        record(notice.rule, nowMs);
        return notice;
    }
    if (m_held.size() < kMaxHeld)
        m_held.insert(notice.rule, Held{notice, 1, m_nextOrder++});
    return std::nullopt;
}

QList<NoticeThrottle::Notice> NoticeThrottle::due(qint64 nowMs)
{
    forget(nowMs);
    QList<const Held*> waiting;
    for (const Held& held : std::as_const(m_held))
        waiting.append(&held);
    std::sort(waiting.begin(), waiting.end(),
              [](const Held* a, const Held* b) { return a->order < b->order; });

    QList<Notice> ready;
    QStringList gone;
    for (const Held* held : waiting) {
        if (!mayGo(held->newest.rule))
            continue;
        Notice notice = held->newest;
        //   "DX de W3LPL: 21021.0 3Y0K CW 579\nand 37 more"
        if (held->count > 1)
            notice.body += QStringLiteral("\nand %1 more").arg(held->count - 1);
        record(notice.rule, nowMs);
        ready.append(notice);
        gone.append(notice.rule);
    }
    for (const QString& rule : gone)
        m_held.remove(rule);
    return ready;
}

std::optional<qint64> NoticeThrottle::nextDueMs() const
{
    std::optional<qint64> next;
    for (auto it = m_held.cbegin(); it != m_held.cend(); ++it) {
        const qint64 at = freeAt(it.key());
        if (!next || at < *next)
            next = at;
    }
    return next;
}
