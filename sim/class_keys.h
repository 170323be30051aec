// The generic keys of a class file, applied to a vessel after its module's
// clbkSetClassCaps, as the simulator does.
#pragma once

#include "classfile.h"
#include "vessel.h"

namespace sim {

class World;

void applyClassKeys(World &w, Vessel &v, const ClassFile &cf);

}  // namespace sim
