// Ground contact: vessels standing on the planet, lifting off and coming down.
#pragma once

#include "host/OrbiterAPI.h"
#include "sim/physics/planet/planet.h"

namespace sim {
struct Vessel;

namespace physics {

// Fastest touchdown, relative to the ground, that a vessel survives [m/s].
const double kMaxLandingSpeed = 5.0;

// A landed vessel flies once its thrust (vessel frame [N]) along the up-normal
// of its touchdown plane exceeds its weight.
bool liftsOff(const Vessel &v, const Planet &p, const VECTOR3 &thrust, double mass);

// Keeps a landed vessel on its touchdown point, carried round to where the
// planet stands in pose.
void holdOnSurface(Vessel &v, const Planet &p, const PlanetPose &pose);

enum class Contact { none, landed, crashed };
// A flying vessel whose touchdown points (or centre) have gone below the
// surface while it is not climbing comes to rest there at time t: landed when
// its speed relative to the ground is at most kMaxLandingSpeed, else crashed.
// impactSpeed receives that speed [m/s].
Contact settleOnContact(Vessel &v, const Planet &p, double t, double &impactSpeed);

}  // namespace physics
}  // namespace sim
