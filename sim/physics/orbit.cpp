// Two-body orbit elements of a state relative to the planet.
#include <algorithm>
#include <cmath>

#include "planet.h"

namespace sim {
namespace physics {

Orbit orbitOf(const Planet &p, const VECTOR3 &pos, const VECTOR3 &vel) {
  const double r = length(pos);
  const double energy = 0.5 * dotp(vel, vel) - p.gm / r;       // specific orbital energy [J/kg]
  const double h2 = dotp(crossp(pos, vel), crossp(pos, vel));  // squared specific angular momentum [m^4/s^2]
  const double e = std::sqrt(std::max(0.0, 1 + 2 * energy * h2 / (p.gm * p.gm)));
  Orbit o;
  o.bound = energy < 0;
  o.periapsisAlt = h2 / (p.gm * (1 + e)) - p.radius;
  if (o.bound) o.apoapsisAlt = -p.gm / (2 * energy) * (1 + e) - p.radius;
  return o;
}

}  // namespace physics
}  // namespace sim
