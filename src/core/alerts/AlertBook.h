#pragma once

#include "alerts/AlertRule.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <deque>

struct AlertSpot;

// The alert rules in file order, and the memory of what alerted lately.
//
// A station alerts once on a band: the same call on the same band within
// ten minutes of its alert stays quiet, whichever rule it matches, so a
// DXpedition spotted by fifty skimmers rings once. The ten minutes run from
// the alert itself; quiet repeats do not extend them, so a station that
// stays on the air is recalled every ten minutes.
class AlertBook
{
public:
    static constexpr qint64 kRepeatMs = 10 * 60 * 1000;
    // Beyond this many stations at once the oldest is forgotten first: a
    // flood of spots must not grow the memory without end.
    static constexpr int kMaxRemembered = 5000;

    explicit AlertBook(QList<AlertRule> rules = {});

    // New rules (the editor saved); what alerted lately is still remembered.
    void setRules(QList<AlertRule> rules);
    const QList<AlertRule>& rules() const { return m_rules; }

    // The rules that are on and match the spot, in file order; none for a
    // repeat. One pass over the rules; nothing is allocated per rule.
    QList<AlertRule> check(const AlertSpot& spot, const QDateTime& nowUtc);

    int rememberedCount() const { return int(m_lastAlert.size()); }

private:
    struct Station
    {
        QString call;
        int band = -1;
        bool operator==(const Station&) const = default;
    };
    friend size_t qHash(const Station& s, size_t seed = 0) noexcept
    {
        return qHashMulti(seed, s.call, s.band);
    }
    struct Entry
    {
        Station station;
        qint64 at = 0; // ms since the epoch, UTC
    };

    void forgetOld(qint64 now);

    QList<AlertRule> m_rules;
    QHash<Station, qint64> m_lastAlert;
    // The alerts in the order they came, oldest first; an entry whose station
    // alerted again later is outdated and only dropped.
    std::deque<Entry> m_order;
};
