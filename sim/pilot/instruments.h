// What a person at the controls can read: attitude against the local horizon,
// body rates, altitude, speeds, mass and the orbit. Everything here comes from
// the vessel's state of motion, never from its module.
#pragma once

#include "sim/physics/planet/orbit.h"
#include "sim/physics/planet/planet.h"
#include "sim/world/vessel.h"

namespace sim {
namespace pilot {

// The local horizon at a global position, north being towards the planet's
// north pole along axis: unit vectors up, north and east.
struct Horizon {
  VECTOR3 up, north, east;
};
Horizon horizonAt(const VECTOR3 &pos, const VECTOR3 &axis);

// Attitude against the horizon [rad]:
//   pitch    elevation of the nose (+z) above the horizon, -pi/2 .. pi/2;
//   heading  of the nose's horizontal projection, from north towards east, -pi .. pi;
//   bank     about the nose, positive with the right side (+x) down.
// With the nose within a few hundredths of a degree of the vertical it has no
// heading; there the heading is that of the -y axis (+y when pointing down),
// which is where a pitch-down input swings the nose, and bank is 0.
struct Attitude {
  double pitch = 0, heading = 0, bank = 0;
};
Attitude attitudeOf(const Mat3 &rot, const Horizon &h);

// The attitude (pitch, heading, bank 0) as a frame: the columns are the
// vessel's x, y and z axes in the global frame. Pitched straight up, its -y
// axis points along the heading.
Mat3 frameFor(double pitch, double heading, const Horizon &h);

struct Instruments {
  double altitude = 0;         // above the mean radius [m]
  double speed = 0;            // orbital, relative to the planet's centre [m/s]
  double airspeed = 0;         // relative to the air, which turns with the planet [m/s]
  double flightPathAngle = 0;  // elevation of the velocity relative to the air [rad]; 0 when at rest
  double mass = 0;             // [kg]
  Attitude attitude;
  VECTOR3 rates{};  // body angular velocity, vessel frame [rad/s]
  physics::Orbit orbit;
};
// Read with the planet as it stands at the moment (its pose).
Instruments readInstruments(const Vessel &v, const physics::Planet &p, const physics::PlanetPose &pose);

// Single instruments, each read as readInstruments reads it, for a reader
// that needs one alone at every step (the pilot).
double altitudeOf(const Vessel &v, const physics::Planet &p);                     // [m]
VECTOR3 airVelocityOf(const Vessel &v, const physics::PlanetPose &pose);          // global frame [m/s]
double flightPathAngleOf(const VECTOR3 &air, double airspeed, const Horizon &h);  // [rad]
double pitchOf(const Mat3 &rot, const Horizon &h);                                // [rad]
physics::Orbit orbitOf(const Vessel &v, const physics::Planet &p, const physics::PlanetPose &pose);

}  // namespace pilot
}  // namespace sim
