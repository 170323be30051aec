// The rotating planet: its turn rate, surface coordinates and the motion of
// points carried round with it.
#include "sim/physics/planet/planet.h"

#include <cmath>

namespace sim {
namespace physics {

double Planet::rotationRate() const { return 2 * M_PI / siderealDay; }

void toSurface(const Planet &p, const VECTOR3 &pos, double t, double &lng, double &lat, double &alt) {
  const double r = length(pos);
  lat = std::asin(pos.y / r);
  lng = std::remainder(std::atan2(pos.z, pos.x) - p.rotationRate() * t, 2 * M_PI);
  alt = r - p.radius;
}

VECTOR3 surfaceVelocity(const Planet &p, const VECTOR3 &pos) {
  const double w = p.rotationRate();
  return _V(-w * pos.z, 0, w * pos.x);
}

Mat3 planetTurn(double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  return {{{c, 0, -s}, {0, 1, 0}, {s, 0, c}}};
}

}  // namespace physics
}  // namespace sim
