// Between a vessel's state and the simulator's VESSELSTATUS record.
#pragma once

#include "sim/physics/planet/planet.h"
#include "sim/world/vessel.h"

namespace sim {

// The record as GetStatus gives it, the planet standing at pose: zeroed first,
// flags clear, port -1; fuel is the first tank's level, eng_main the main
// group's level or else minus the retro group's. A landed vessel has status 1,
// vdata[0] = (lng, lat, heading), its altitude in vrot.x and its attitude
// against the planet's frame in arot. Position, velocity and spin are those of
// `motion`, the vessel's as modules read it (World::readable).
void fillStatus(const Vessel &v, const Vessel::Kinematics &motion, OBJHANDLE rbody, const physics::Planet &p,
                const physics::PlanetPose &pose, VESSELSTATUS &s);
// Puts the vessel where the record says, at planet time t: on the surface at
// vdata[0] = (lng, lat, heading) when landed, else at rpos/rvel/arot/vrot.
// With bit 2 of flag[0] fuel sets the default tank's level, with bit 1 the
// engine levels are set, a negative eng_main setting the retro group.
void applyStatus(Vessel &v, const VESSELSTATUS &s, const physics::Planet &p, double t);

}  // namespace sim
