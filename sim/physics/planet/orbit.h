// Two-body orbit elements of a state relative to the planet.
#pragma once

#include <cmath>

#include "sim/physics/planet/planet.h"

namespace sim {
namespace physics {

// Orbit of a state relative to the planet: altitudes above the mean radius.
// The global frame is left-handed: an orbit that goes round with the planet
// (eastward) has its r x v (component formula) along -y, inclination below 90 deg.
struct Orbit {
  bool bound = false;
  double periapsisAlt = 0;   // [m]
  double apoapsisAlt = 0;    // [m]; meaningful only when bound
  double semiMajorAxis = 0;  // [m]; negative when not bound, infinite on a parabola
  double eccentricity = 0;
  double inclination = 0;    // to the equator, 0..pi [rad]; 0 for a radial path
  double period = HUGE_VAL;  // [s]; infinite when not bound
};
Orbit orbitOf(const Planet &p, const VECTOR3 &pos, const VECTOR3 &vel);

}  // namespace physics
}  // namespace sim
