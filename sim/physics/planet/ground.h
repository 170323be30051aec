// Ground contact as the simulator has it: a landed vessel stands still on the
// turning planet until a force acts on it; a vessel in flight that reaches the
// ground rests on its touchdown points as on springs, with damping and
// friction, and is landed again once it has lain still for a while.
#pragma once

#include "host/OrbiterAPI.h"
#include "sim/physics/dynamics.h"
#include "sim/physics/planet/planet.h"

namespace sim {
struct Vessel;

namespace physics {

// Fastest touchdown, relative to the ground, that counts as a landing [m/s];
// a faster one is recorded as a crash (the vessel is not stopped by it).
const double kMaxLandingSpeed = 5.0;
// How long a vessel in contact must lie still, without thrust, to be landed [s].
const double kRestBeforeLanded = 5.0;

// Touchdown points as the simulator's VESSEL::SetTouchdownPoints sets them:
// springs of 1000 N/m per kilogram of the vessel's empty mass as it is then
// (1e6 N/m for a vessel without one, the simulator's default), damped at a
// tenth of that per m/s; a vessel landed meanwhile leaves its landed state at
// the next frame.
void setTouchdownPoints(Vessel &v, const VECTOR3 &pt1, const VECTOR3 &pt2, const VECTOR3 &pt3);

// The push of the ground on a vessel in motion m, of mass [kg], over a step of
// h [s], with the air (and ground) turning at spin: each touchdown point below
// the surface is a spring (depth counted to 1 m at most) with damping on its
// vertical speed and friction along and across the touchdown direction, as
// the simulator's Vessel::AddSurfaceForces works it out.
struct GroundPush {
  VECTOR3 force{};   // global frame [N]
  VECTOR3 torque{};  // vessel frame [N m]
};
GroundPush groundPush(const Vessel &v, const Planet &p, const Motion &m, const VECTOR3 &spin, double mass, double h);

// Lowest altitude [m] of the vessel's touchdown points (below 0: in contact).
double lowestPoint(const Vessel &v, const Planet &p);
// Whether the ground may be reached within a step of h [s]: the touchdown
// points are within the distance covered at the present speed, plus a metre.
bool nearGround(const Vessel &v, const Planet &p, const VECTOR3 &spin, double h);
// The fastest the planet's surface turns [rad/s]: its turn about the axis
// less the axis' precession, plus that precession about the ecliptic pole.
double fastestSpin(const Planet &p);
// Whether the vessel, r [m] from the planet's centre, is so high that its
// touchdown points cannot reach the ground within h [s] however the planet
// turns (at most maxSpin [rad/s], fastestSpin): nearGround is then false for
// any spin the planet has, and the spin need not be known.
bool clearOfGround(const Vessel &v, const Planet &p, double r, double h, double maxSpin);
// Longest step [s] that follows the springs and their damping closely.
double contactStep(const Vessel &v);

// Keeps a landed vessel on its touchdown points, carried round to where the
// planet stands in pose.
void holdOnSurface(Vessel &v, const Planet &p, const PlanetPose &pose);

}  // namespace physics
}  // namespace sim
