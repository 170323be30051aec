// Two-body orbit elements of a state relative to the planet.
#pragma once

#include <cmath>

#include "sim/physics/planet/planet.h"

namespace sim {
namespace physics {

// Orbit of a state relative to the planet: altitudes above the mean radius,
// inclination to the planet's equator, whose north pole is along axis.
// The global frame is left-handed: an orbit that goes round with the planet
// (eastward) has its r x v (component formula) against the axis, inclination below 90 deg.
struct Orbit {
  bool bound = false;
  double periapsisAlt = 0;   // [m]
  double apoapsisAlt = 0;    // [m]; meaningful only when bound
  double semiMajorAxis = 0;  // [m]; negative when not bound, infinite on a parabola
  double eccentricity = 0;
  double inclination = 0;    // to the equator, 0..pi [rad]; 0 for a radial path
  double period = HUGE_VAL;  // [s]; infinite when not bound (a constant: no fault is raised)
};
Orbit orbitOf(const Planet &p, const VECTOR3 &pos, const VECTOR3 &vel, const VECTOR3 &axis);

// Osculating elements as a scenario's ELEMENTS line gives them, in the
// global (ecliptic) frame: semi-major axis [m] (negative on an open orbit),
// eccentricity, inclination, longitude of the ascending node, longitude of
// periapsis, mean longitude at the epoch [rad], and the epoch [MJD].
struct Elements {
  double a = 0, e = 0, i = 0, node = 0, periapsisLongitude = 0, meanLongitude = 0, epoch = 0;
};
// Position [m] and velocity [m/s] on those elements at date mjd, as the
// simulator places them: the orbit's own plane turned by the node,
// inclination and argument of periapsis about the ecliptic y axis, with the
// mean longitude carried on by the mean motion from the epoch. False, and
// nothing set, for elements that give no orbit (a <= 0 with e < 1, a >= 0
// with e > 1, e = 1, e < 0) or no finite state.
bool stateFromElements(const Planet &p, const Elements &el, double mjd, VECTOR3 &pos, VECTOR3 &vel);

}  // namespace physics
}  // namespace sim
