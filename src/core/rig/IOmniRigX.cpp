#include "rig/IOmniRigX.h"

IOmniRigX::IOmniRigX(RigBackend backend) : m_backend(std::move(backend)) {}

IRigX& IOmniRigX::Rig1()
{
    return opened(m_rig1, m_backend.rig1);
}

IRigX& IOmniRigX::Rig2()
{
    return opened(m_rig2, m_backend.rig2);
}

IRigX& IOmniRigX::opened(std::unique_ptr<IRigX>& slot, const RigConfig& config)
{
    if (slot && slot->broken())
        slot.reset();
    if (!slot)
        slot = IRigX::open(config);
    return *slot;
}
