// The generic keys of a class file, applied to a vessel after its module's
// clbkSetClassCaps, as the simulator does.
#pragma once

#include "sim/formats/class_file.h"
#include "sim/world/vessel.h"

namespace sim {

class World;

void applyClassKeys(World &w, Vessel &v, const ClassFile &cf);
// Logs each generic key whose value would not be applied, touching no vessel.
void checkClassKeys(const ClassFile &cf, Log &log);

}  // namespace sim
