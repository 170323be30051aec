// Aerodynamic drag and the air's torque on a vessel in the air.
#pragma once

#include "host/OrbiterAPI.h"
#include "sim/physics/planet/planet.h"

namespace sim {
struct Vessel;

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
// against the motion, with cw_z the +z coefficient whichever way the air flows.
VECTOR3 dragPerMass(const Vessel &v, double density, double mass, const VECTOR3 &airVel, const VECTOR3 &bodyAirVel);
// The air's torque per unit mass [N m/kg], vessel frame, for a vessel turning
// at omega [rad/s] with air velocity bodyAirVel in its frame: damping
// -size rho omega rotdrag, componentwise, and about x and y the weathervane
// moments -size rho |v| cs_y sin(aoa) pitch scale and -size rho |v| cs_x sin(slip) bank scale.
VECTOR3 airTorquePerMass(const Vessel &v, double density, const VECTOR3 &bodyAirVel, const VECTOR3 &omega);

}  // namespace physics
}  // namespace sim
