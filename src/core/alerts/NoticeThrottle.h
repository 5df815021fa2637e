#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <deque>
#include <optional>

// Keeps the desktop notices of the alert rules to a few a minute. A rule
// such as "Call=* Notify=1" on a busy evening fires for hundreds of spots a
// minute; a notice for each would bury the desktop and flood the session
// bus. So each rule gives at most kPerRule notices in any minute, and all
// rules together at most kTotal. What comes beyond is folded: the rule's
// newest alert is kept with a count, and goes out as one notice as soon as
// the minute allows, its text followed by a line such as
//   "and 37 more"
// Times are milliseconds of a steady clock, chosen by the caller.
class NoticeThrottle
{
public:
    static constexpr int kPerRule = 3;
    static constexpr int kTotal = 10;
    static constexpr qint64 kWindowMs = 60 * 1000;
    // Rules with folded alerts at most; a rule past them loses its count
    // (only a hand-made file of a thousand notifying rules gets there).
    static constexpr int kMaxHeld = 1000;

    struct Notice
    {
        QString rule; // whose budget it uses
        QString title;
        QString body;
        QString key; // as DesktopNotifier::notify takes it
        bool operator==(const Notice&) const = default;
    };

    explicit NoticeThrottle(qint64 windowMs = kWindowMs, int perRule = kPerRule,
                            int total = kTotal);

    // A rule fired at nowMs: the notice when it may go now, none when it was
    // folded into the rule's next one.
    std::optional<Notice> offer(const Notice& notice, qint64 nowMs);
    // The folded notices that may go at nowMs, the rule folded longest ago
    // first, each with its count in the text.
    QList<Notice> due(qint64 nowMs);
    // When due() will have something; none when nothing is folded.
    std::optional<qint64> nextDueMs() const;

    int heldRules() const { return int(m_held.size()); }

private:
    struct Sent
    {
        QString rule;
        qint64 at = 0;
    };
    struct Held
    {
        Notice newest;
        int count = 0;
        quint64 order = 0; // when the rule was first folded
    };

    void forget(qint64 nowMs);
    bool mayGo(const QString& rule) const;
    // The earliest time the rule may give a notice, by both budgets.
    qint64 freeAt(const QString& rule) const;
    void record(const QString& rule, qint64 nowMs);

    qint64 m_windowMs;
    int m_perRule;
    int m_total;
    // The notices of the last window, oldest first; never more than m_total.
    std::deque<Sent> m_sent;
    QHash<QString, Held> m_held;
    quint64 m_nextOrder = 0;
};
