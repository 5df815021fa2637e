#pragma once

#include "rig/IRigX.h"
#include "rig/RigConfig.h"

#include <memory>

// The connection to the radios: Rig1 and Rig2. A rig is opened when it is
// first needed and stays open until the object goes, or until a call on it
// times out or loses the link, after which its next use opens it afresh (so
// a rigctld that was restarted is found again). CoOmniRigX::Create opens the
// chosen one at once, so a rig that cannot be reached fails the creation.
// Used by the rig worker thread only.
class IOmniRigX
{
public:
    explicit IOmniRigX(RigBackend backend);

    // The rig, opened on first use; throws RigError when it cannot be.
    IRigX& Rig1();
    IRigX& Rig2();
    IRigX& Rig(int number) { return number == 2 ? Rig2() : Rig1(); }

private:
    IRigX& opened(std::unique_ptr<IRigX>& slot, const RigConfig& config);

    RigBackend m_backend;
    std::unique_ptr<IRigX> m_rig1;
    std::unique_ptr<IRigX> m_rig2;
};
