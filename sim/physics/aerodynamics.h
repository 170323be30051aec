// Aerodynamic drag and the air's torque on a vessel in the air, defined here
// inline: the integrator works them out four times a step.
#pragma once

#include <cmath>

#include "host/OrbiterAPI.h"
#include "sim/physics/planet/planet.h"
#include "sim/world/vessel.h"

namespace sim {
namespace physics {

// Velocity of the air at a global position [m/s]: it turns with the planet,
// whose angular velocity in the global frame is spin.
inline VECTOR3 airVelocity(const VECTOR3 &spin, const VECTOR3 &pos) { return carriedVelocity(spin, pos); }
// Speed of a vessel relative to the air around it at planet time t [m/s] (what oapiGetAirspeed reports).
double airspeed(const Vessel &v, const Planet &p, double t);

// Drag per unit mass [m/s^2] in the frame of the airflow vector given: airVel
// is the vessel's velocity relative to the air in the global frame, bodyAirVel
// the same velocity in the vessel frame. The drag is
// 1/2 rho v^2 (1/2 cs_x cw_x |vx| + 1/2 cs_y cw_y |vy| + 1/2 cs_z cw_z |vz|) / v,
// against the motion, with cw_z the +z coefficient whichever way the air flows:
// the simulator's model for a vessel without airfoils (Vessel::Setup and
// UpdateAerodynamicForces_OLD) takes cw_z from the +z coefficient alone; the
// -z one is kept but never used.
inline VECTOR3 dragPerMass(const Vessel &v, double density, double mass, const VECTOR3 &airVel,
                           const VECTOR3 &bodyAirVel) {
  // With |v_i| = |v| |v^_i| the speed cancels once: the force is k v, k below.
  const double area = v.crossSections.x * v.cwX * std::fabs(bodyAirVel.x) +
                      v.crossSections.y * v.cwY * std::fabs(bodyAirVel.y) +
                      v.crossSections.z * v.cwZPos * std::fabs(bodyAirVel.z);  // [m^3/s]
  return airVel * (-0.25 * density * area / mass);
}

// sin(atan2(a, b)), without the trigonometry: 0 where the angle is undefined.
inline double sineOfAngle(double a, double b) {
  const double r = std::hypot(a, b);
  return r > 0 ? a / r : 0;
}

// The air's torque per unit mass [N m/kg], vessel frame, for a vessel turning
// at omega [rad/s] with air velocity bodyAirVel in its frame: damping
// -size rho omega rotdrag, componentwise, and about x and y the weathervane
// moments -size rho |v| cs_y sin(aoa) pitch scale and -size rho |v| cs_x sin(slip) bank scale:
// they turn the nose towards the flight path, about x by the angle of attack
// atan2(-vy, vz), about y by the slip atan2(vx, vz), as UpdateAerodynamicForces_OLD has them.
// Whether the air turns the vessel at all: without rotational drag and moment
// scales its torque is exactly nothing.
inline bool turnedByAir(const Vessel &v) {
  return v.pitchMomentScale != 0 || v.bankMomentScale != 0 || v.rotDrag.x != 0 || v.rotDrag.y != 0 || v.rotDrag.z != 0;
}
inline VECTOR3 airTorquePerMass(const Vessel &v, double density, const VECTOR3 &bodyAirVel, const VECTOR3 &omega) {
  const double k = v.size * density, speed = length(bodyAirVel);  // [m kg/m^3], [m/s]
  const double pitch = v.pitchMomentScale == 0 ? 0 : sineOfAngle(-bodyAirVel.y, bodyAirVel.z) * v.pitchMomentScale;
  const double yaw = v.bankMomentScale == 0 ? 0 : sineOfAngle(bodyAirVel.x, bodyAirVel.z) * v.bankMomentScale;
  return _V(-k * (speed * v.crossSections.y * pitch + omega.x * v.rotDrag.x),
            -k * (speed * v.crossSections.x * yaw + omega.y * v.rotDrag.y), -k * omega.z * v.rotDrag.z);
}

}  // namespace physics
}  // namespace sim
