#pragma once

#include "rig/IOmniRigX.h"
#include "rig/RigConfig.h"

#include <memory>

// Makes the connection object for the chosen rig (1 or 2) and opens that rig.
// Throws RigError when the rig cannot be opened: no rigctld listening, no
// such device, a radio that does not answer.
class CoOmniRigX
{
public:
    static std::unique_ptr<IOmniRigX> Create(const RigBackend& backend, int rigNumber);
};
