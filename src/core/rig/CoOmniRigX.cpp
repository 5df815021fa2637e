#include "rig/CoOmniRigX.h"

std::unique_ptr<IOmniRigX> CoOmniRigX::Create(const RigBackend& backend, int rigNumber)
{
    auto omniRig = std::make_unique<IOmniRigX>(backend);
    omniRig->Rig(rigNumber);
    return omniRig;
}
