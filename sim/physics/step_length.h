// How long an integration step a vessel's state allows. The host runs each
// frame (the step of the modules and the pilot, stretched by the time
// acceleration) as sub-steps no longer than this, so that a long frame stays
// stable and accurate: a turn of the vessel, the decay of its speed or spin in
// the air, and an arc of its orbit are each cut into short enough pieces.
#pragma once

#include "sim/physics/planet/planet.h"

namespace sim {
struct Vessel;

namespace physics {

// Longest step [s] for the vessel's present state in air of this density
// [kg/m^3], turning with the planet at spin (global frame [rad/s]). Without
// mayTouch the vessel is known to be clear of the ground (clearOfGround) and
// the ground is not looked for.
double maxSubStep(const Vessel &v, const Planet &p, double density, const VECTOR3 &spin, bool mayTouch);
// Whether a step of h [s] is within that: the same answer without a square
// root, for the common case of a frame that needs no cutting.
bool stepFits(const Vessel &v, const Planet &p, double density, const VECTOR3 &spin, double h, bool mayTouch);

}  // namespace physics
}  // namespace sim
