// Two-body orbit elements of a state relative to the planet.
#include "sim/physics/planet/orbit.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace physics {

Orbit orbitOf(const Planet &p, const VECTOR3 &pos, const VECTOR3 &vel) {
  const double r = length(pos);
  const double energy = 0.5 * dotp(vel, vel) - p.gm / r;  // specific orbital energy [J/kg]
  const VECTOR3 h = crossp(pos, vel);                     // specific angular momentum [m^2/s]
  const double h2 = dotp(h, h);                           // [m^4/s^2]
  const double e = std::sqrt(std::max(0.0, 1 + 2 * energy * h2 / (p.gm * p.gm)));
  Orbit o;
  o.bound = energy < 0;
  o.eccentricity = e;
  o.semiMajorAxis = energy == 0 ? HUGE_VAL : -p.gm / (2 * energy);
  o.inclination = h2 > 0 ? std::acos(std::clamp(-h.y / std::sqrt(h2), -1.0, 1.0)) : 0;
  o.periapsisAlt = h2 / (p.gm * (1 + e)) - p.radius;
  if (!o.bound) return o;
  o.apoapsisAlt = o.semiMajorAxis * (1 + e) - p.radius;
  o.period = 2 * M_PI * std::sqrt(o.semiMajorAxis * o.semiMajorAxis * o.semiMajorAxis / p.gm);
  return o;
}

}  // namespace physics
}  // namespace sim
