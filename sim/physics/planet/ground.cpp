// Liftoff, holding on the ground, touchdown and crash.
#include "sim/physics/planet/ground.h"

#include <algorithm>

#include "sim/physics/planet/surface.h"
#include "sim/world/vessel.h"

namespace sim {
namespace physics {
namespace {

// Lowest altitude [m] of the vessel's centre and its touchdown points.
double lowestAltitude(const Vessel &v, const Planet &p) {
  double lowest = length(v.pos);
  for (const VECTOR3 &td : v.touchdown) lowest = std::min(lowest, length(v.pos + v.rot * td));
  return lowest - p.radius;
}

}  // namespace

bool liftsOff(const Vessel &v, const Planet &p, const VECTOR3 &thrust, double mass) {
  const double weight = mass * p.gm / dotp(v.pos, v.pos);  // [N]
  return dotp(thrust, touchdownPlane(v).normal) > weight;
}

void holdOnSurface(Vessel &v, const Planet &p, const PlanetPose &pose) {
  placeOnSurface(v, p, v.surfLng, v.surfLat, v.surfHeading, pose);
}

Contact settleOnContact(Vessel &v, const Planet &p, double t, double &impactSpeed) {
  impactSpeed = 0;
  if (lowestAltitude(v, p) >= 0) return Contact::none;
  const VECTOR3 groundVel = v.vel - surfaceVelocity(p, v.pos, t);
  if (dotp(groundVel, v.pos) > 0) return Contact::none;  // still climbing away
  impactSpeed = length(groundVel);
  double lng, lat, alt;
  toSurface(p, v.pos, t, lng, lat, alt);
  placeOnSurface(v, p, lng, lat, headingOf(v, p, v.rot, v.pos, t), t);
  v.crashed = impactSpeed > kMaxLandingSpeed;
  return v.crashed ? Contact::crashed : Contact::landed;
}

}  // namespace physics
}  // namespace sim
