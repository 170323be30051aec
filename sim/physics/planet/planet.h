// The planet: a spherical, rotating Earth and the frames tied to it.
//
// Global frame: planet-centred, non-rotating, y along the rotation axis
// towards north. A surface point at longitude lng (east positive) and
// latitude lat has, at simulation time t, the global direction
// (cos lat cos(lng + w t), sin lat, cos lat sin(lng + w t)), w the rotation rate.
//
// Angular velocities follow the vessel convention: a point at r moves at
// r x w, so the planet's own angular velocity is (0, w, 0).
#pragma once

#include <cmath>

#include "sim/physics/mat3.h"

namespace sim {
namespace physics {

struct Planet {
  double radius = 6371010.0;         // mean radius [m]
  double gm = 3.986004418e14;        // gravitational parameter [m^3/s^2]
  double siderealDay = 86164.10132;  // rotation period [s]
  double rotationRate() const;       // [rad/s]
};

// Longitude, latitude [rad] and altitude [m] of a global position at time t.
void toSurface(const Planet &p, const VECTOR3 &pos, double t, double &lng, double &lat, double &alt);
// Velocity [m/s] of the point at pos carried round by the planet's rotation.
VECTOR3 surfaceVelocity(const Planet &p, const VECTOR3 &pos);
// The planet's turn through angle [rad] about its axis, as a rotation of the global frame.
Mat3 planetTurn(double angle);

}  // namespace physics
}  // namespace sim
