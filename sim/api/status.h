// Between a vessel's state and the simulator's VESSELSTATUS record.
#pragma once

#include "sim/physics/planet/planet.h"
#include "sim/world/vessel.h"

namespace sim {

// The record as GetStatus gives it: zeroed first; fuel is the first tank's level.
void fillStatus(const Vessel &v, OBJHANDLE rbody, VESSELSTATUS &s);
// Puts the vessel where the record says, at simulation time t: on the surface
// at vdata[0] = (lng, lat, heading) when landed, else at rpos/rvel/arot/vrot;
// fuel sets the first tank's level.
void applyStatus(Vessel &v, const VESSELSTATUS &s, const physics::Planet &p, double t);

}  // namespace sim
