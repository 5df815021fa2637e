#include "rig/RigControl.h"

#include "rig/CoOmniRigX.h"
#include "rig/RigError.h"
#include "rig/RigTuning.h"

#include <QMetaObject>
#include <QPointer>

#include <clocale>
#include <mutex>

// What the jobs share. Only the worker thread touches omniRig; receiver is
// cleared under the lock when the control goes, so a job that finishes late
// (a rig left behind at the end of the program) posts to nobody.
struct RigControl::State
{
    RigBackend backend;
    std::unique_ptr<IOmniRigX> omniRig;
    std::mutex receiverMutex;
    RigControl* receiver = nullptr;

    template <typename F>
    void deliver(F&& f)
    {
        std::lock_guard lock(receiverMutex);
        if (receiver)
            QMetaObject::invokeMethod(receiver, std::forward<F>(f), Qt::QueuedConnection);
    }
};

namespace {

// Hamlib switches LC_NUMERIC to "C" while it works and then sets back the name
// it read before: a pointer into the C library that the switch itself has
// freed, unless the name already was "C". Hamlib does that on the rig thread,
// where changing the locale would also race with the rest of the program, so
// the process takes "C" for numbers once, here on the UI thread, before the
// first rig thread exists. The program's own numbers go through QLocale,
// which does not read LC_NUMERIC.
void useCNumbersForHamlib()
{
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace

RigControl::RigControl(RigBackend backend, QObject* parent)
    : QObject(parent), m_state((useCNumbersForHamlib(), std::make_shared<State>())),
      m_shutdownWaitMs(backend.shutdownWaitMs)
{
    m_state->backend = std::move(backend);
    m_state->receiver = this;
}

RigControl::~RigControl()
{
    {
        std::lock_guard lock(m_state->receiverMutex);
        m_state->receiver = nullptr;
    }
    // The rigs are closed on the worker too: closing a hung rigctld
    // connection can block like any other call.
    m_worker.shutdown([state = m_state] { state->omniRig.reset(); }, m_shutdownWaitMs);
}

void RigControl::open(int rigNumber)
{
    const quint64 generation = m_generation;
    m_worker.post([state = m_state, rigNumber, generation] {
        bool ok = false;
        try {
            std::unique_ptr<IOmniRigX> fresh = CoOmniRigX::Create(state->backend, rigNumber);
            state->omniRig = std::move(fresh);
            ok = true;
        } catch (const RigError&) {
        }
        state->deliver([state, rigNumber, generation, ok] {
            RigControl* self = state->receiver;
            if (self && self->m_generation == generation)
                emit self->opened(rigNumber, ok);
        });
    });
}

void RigControl::close()
{
    ++m_generation;
    m_worker.post([state = m_state] { state->omniRig.reset(); });
}

void RigControl::tune(int rigNumber, const QString& stringafreq)
{
    tune(rigNumber, RigTuning::planTune(stringafreq));
}

void RigControl::tune(int rigNumber, const RigTuning::TunePlan& plan)
{
    if (!plan.mode && !plan.hz)
        return;
    m_worker.post([state = m_state, rigNumber, plan] {
        if (!state->omniRig)
            return;
        // Mode first, then the frequency, each under its own guard: the rig
        // may end up with the new mode and the old frequency, or the reverse.
        try {
            if (plan.mode)
                state->omniRig->Rig(rigNumber).setMode(*plan.mode);
        } catch (const RigError&) {
        }
        try {
            if (plan.hz) {
                state->omniRig->Rig(rigNumber).setFreqA(*plan.hz);
                state->omniRig->Rig(rigNumber).setFreq(*plan.hz);
            }
        } catch (const RigError&) {
        }
    });
}

void RigControl::cycleMode(int rigNumber)
{
    m_worker.post([state = m_state, rigNumber] {
        if (!state->omniRig)
            return;
        try {
            for (const auto& [from, to] : RigTuning::modeCycle()) {
                if (state->omniRig->Rig(rigNumber).Mode() == from) {
                    state->omniRig->Rig(rigNumber).setMode(to);
                    break;
                }
            }
        } catch (const RigError&) {
        }
    });
}
