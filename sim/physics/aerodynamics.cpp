// Drag and rotational damping.
#include "sim/physics/aerodynamics.h"

#include <cmath>

#include "sim/world/vessel.h"

namespace sim {
namespace physics {

VECTOR3 dragPerMass(const Vessel &v, double density, double mass, const VECTOR3 &airVel, const VECTOR3 &bodyAirVel) {
  const double cwZ = bodyAirVel.z >= 0 ? v.cwZPos : v.cwZNeg;
  // With |v_i| = |v| |v^_i| the speed cancels once: the force is k v, k below.
  const double area = v.crossSections.x * v.cwX * std::fabs(bodyAirVel.x) +
                      v.crossSections.y * v.cwY * std::fabs(bodyAirVel.y) +
                      v.crossSections.z * cwZ * std::fabs(bodyAirVel.z);  // [m^3/s]
  return airVel * (-0.25 * density * area / mass);
}

VECTOR3 dampingPerMass(const Vessel &v, double density, const VECTOR3 &omega) {
  const double k = -v.size * density;
  return _V(k * omega.x * v.rotDrag.x, k * omega.y * v.rotDrag.y, k * omega.z * v.rotDrag.z);
}

double airspeed(const Vessel &v, const Planet &p, double t) {
  return length(v.vel - airVelocity(p.poseAt(t).spin, v.pos));
}

}  // namespace physics
}  // namespace sim
