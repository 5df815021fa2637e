#pragma once

#include "session/SessionTimings.h"

#include <QList>
#include <QString>

// When and where the next attempt goes after a session was lost.
//
// The waits: 5 s, 10 s, 20 s ... up to 5 minutes, each stretched or shrunk
// by up to 20 % so that many clients dropped by one node do not all come
// back in the same second; and never more than 6 attempts in any minute,
// whatever the waits say. A success starts it all over.
//
// The nodes: the first attempts go to the node of the lost session; after 3
// failures there, one attempt each to the other nodes of the list in their
// order, those whose last ping answered first, then back to the first node.
class ReconnectPolicy
{
public:
    struct Node
    {
        QString name;
        QString address;
        QString port;
        bool answeredPing = false;
    };

    explicit ReconnectPolicy(const SessionTimings& timings = {});

    // The node list: home (the node of the lost session) and the other
    // nodes, in list order.
    void setNodes(const Node& home, const QList<Node>& others);
    const Node& home() const { return m_home; }

    // The wait before the next attempt, from nowMs (a monotonic clock).
    // jitter lies in [-1, 1] and scales the allowed spread.
    qint64 nextDelayMs(qint64 nowMs, double jitter) const;
    // The node the next attempt goes to.
    const Node& nextNode() const;

    void attemptStarted(qint64 nowMs);
    void attemptFailed() { ++m_failures; }
    // A session is up again: the waits and the node order start over.
    void succeeded();

    int failures() const { return m_failures; }

private:
    SessionTimings m_timings;
    Node m_home;
    QList<Node> m_failover; // the other nodes, answered ones first
    int m_failures = 0;
    QList<qint64> m_attempts; // start times within the last window
};
