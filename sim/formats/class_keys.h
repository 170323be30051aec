// The generic keys of a class file, applied to a vessel after its module's
// clbkSetClassCaps, as the simulator does.
#pragma once

#include "sim/formats/class_file.h"
#include "sim/world/vessel.h"

namespace sim {

class World;

// What a vessel is before its module and class file say otherwise, as the
// simulator's Vessel::DefaultGenericCaps and RigidBody::SetDefaultCaps have it.
void applyDefaultCaps(Vessel &v);
void applyClassKeys(World &w, Vessel &v, const ClassFile &cf);
// Logs each generic key whose value would not be applied, touching no vessel.
void checkClassKeys(const ClassFile &cf, Log &log);

}  // namespace sim
