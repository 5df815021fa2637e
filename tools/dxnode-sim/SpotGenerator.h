#pragma once

#include "SimLines.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QStringList>

// Makes up a believable stream of cluster traffic: DX spots on every band
// from 160 m to the microwaves, and now and then an announcement, a WWV or
// WCY line or a talk line. The same seed gives the same stream.
class SpotGenerator
{
public:
    SpotGenerator(quint32 seed, QStringList dxpeditions);

    SimLines::Spot nextSpot(const QDateTime& utc);

    // A line of another kind; talk lines are addressed to `user`.
    QString nextOtherLine(const QString& user);

    // True now and then: the next line should be one of another kind.
    bool otherLineDue();

private:
    QString randomCall();
    QString randomSpotter(bool& skimmer);
    int pick(int n) { return int(m_random.bounded(n)); }
    bool chance(int percent) { return pick(100) < percent; }

    QRandomGenerator m_random;
    QStringList m_dxpeditions;
};
