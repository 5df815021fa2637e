#pragma once

#include "rig/RigConfig.h"

#include <QtGlobal>

#include <memory>

struct s_rig;

// One radio, opened through Hamlib. Every call blocks until the rig answers
// (a switched-off radio on a serial port can take seconds), so only the rig
// worker thread makes them. A failure throws RigError.
class IRigX
{
public:
    // Opens the rig; throws RigError when it cannot.
    static std::unique_ptr<IRigX> open(const RigConfig& config);
    ~IRigX();

    IRigX(const IRigX&) = delete;
    IRigX& operator=(const IRigX&) = delete;

    // The present mode of the current VFO as one of OmniRigModes; a mode with
    // no flag of its own reads as PM_UNKNOWN.
    qint32 Mode();
    // Sets the mode of the current VFO and leaves the passband as it is.
    void setMode(qint32 mode);
    // VFO A.
    void setFreqA(qint32 hz);
    // The current VFO.
    void setFreq(qint32 hz);

    // A call timed out or the link failed: the rig must be opened afresh
    // before it can be trusted again.
    bool broken() const { return m_broken; }

private:
    explicit IRigX(s_rig* rig) : m_rig(rig) {}
    void check(int status, const char* what);
    s_rig* m_rig;
    bool m_broken = false;
};
