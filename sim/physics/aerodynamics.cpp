// Drag and the air's torque: rotational damping and the weathervane moments.
#include "sim/physics/aerodynamics.h"

#include <cmath>

#include "sim/world/vessel.h"

namespace sim {
namespace physics {

// The simulator's model for a vessel without airfoils (Vessel::Setup and
// UpdateAerodynamicForces_OLD) takes cw_z from the +z coefficient alone,
// whichever way the air flows along z; the -z one is kept but never used.
VECTOR3 dragPerMass(const Vessel &v, double density, double mass, const VECTOR3 &airVel, const VECTOR3 &bodyAirVel) {
  // With |v_i| = |v| |v^_i| the speed cancels once: the force is k v, k below.
  const double area = v.crossSections.x * v.cwX * std::fabs(bodyAirVel.x) +
                      v.crossSections.y * v.cwY * std::fabs(bodyAirVel.y) +
                      v.crossSections.z * v.cwZPos * std::fabs(bodyAirVel.z);  // [m^3/s]
  return airVel * (-0.25 * density * area / mass);
}

// The weathervane moments turn the nose towards the flight path: about x by
// the angle of attack atan2(-vy, vz), about y by the slip atan2(vx, vz), each
// scaled by the vessel's moment scale, as UpdateAerodynamicForces_OLD has them.
namespace {

// sin(atan2(a, b)), without the trigonometry: 0 where the angle is undefined.
double sineOfAngle(double a, double b) {
  const double r = std::hypot(a, b);
  return r > 0 ? a / r : 0;
}

}  // namespace

VECTOR3 airTorquePerMass(const Vessel &v, double density, const VECTOR3 &bodyAirVel, const VECTOR3 &omega) {
  const double k = v.size * density, speed = length(bodyAirVel);  // [m kg/m^3], [m/s]
  const double pitch = v.pitchMomentScale == 0 ? 0 : sineOfAngle(-bodyAirVel.y, bodyAirVel.z) * v.pitchMomentScale;
  const double yaw = v.bankMomentScale == 0 ? 0 : sineOfAngle(bodyAirVel.x, bodyAirVel.z) * v.bankMomentScale;
  return _V(-k * (speed * v.crossSections.y * pitch + omega.x * v.rotDrag.x),
            -k * (speed * v.crossSections.x * yaw + omega.y * v.rotDrag.y), -k * omega.z * v.rotDrag.z);
}

double airspeed(const Vessel &v, const Planet &p, double t) {
  return length(v.vel - airVelocity(p.poseAt(t).spin, v.pos));
}

}  // namespace physics
}  // namespace sim
