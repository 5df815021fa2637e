#pragma once

#include "rig/RigConfig.h"
#include "rig/RigTuning.h"
#include "rig/RigWorker.h"

#include <QObject>
#include <QString>

#include <memory>

// The window's handle on the radios. Every operation is posted to one rig
// worker thread and returns at once; the operations run there one after
// another in the order they were asked for, so a tune asked while the radio
// is still busy with the previous one waits for it instead of being lost.
// Errors of the radio are swallowed, step by step, as tuning wants it; only
// the outcome of an open comes back, as opened(), on the thread of this
// object.
class RigControl : public QObject
{
    Q_OBJECT
public:
    explicit RigControl(RigBackend backend, QObject* parent = nullptr);
    ~RigControl() override;

    // Makes a new connection object for rig 1 or 2 and opens that rig. On
    // success it replaces (and closes) the one held before; on failure the
    // one held before stays in use.
    void open(int rigNumber);
    // Drops the connection object. The outcome of an open asked before the
    // close is not reported any more.
    void close();
    // Sets the mode for the frequency digits of a clicked line (when the
    // table has one), then VFO A and the current VFO to the digits followed
    // by "00" Hz, each step on its own: a failed mode still lets the
    // frequency through.
    void tune(int rigNumber, const QString& stringafreq);
    // The same steps for a plan made elsewhere (a spot's own mode).
    void tune(int rigNumber, const RigTuning::TunePlan& plan);
    // One step of CW -> USB -> LSB -> FM -> AM -> CW, the mode read afresh
    // before every comparison.
    void cycleMode(int rigNumber);

    // Operations asked for and not yet finished by the worker.
    int pendingOperations() const { return m_worker.pending(); }

signals:
    void opened(int rigNumber, bool ok);

private:
    struct State;
    std::shared_ptr<State> m_state;
    RigWorker m_worker;
    quint64 m_generation = 0; // raised by close(); stale open results are dropped
    int m_shutdownWaitMs;
};
