// The turning, precessing planet: its orientation by date, surface
// coordinates and the motion of points carried round with it.
#include "sim/physics/planet/planet.h"

#include <cmath>

namespace sim {
namespace physics {
namespace {

const double kSecondsPerDay = 86400.0;

// Ry(a): a turn about the y axis, in the sense in which the planet turns.
Mat3 turnAboutY(double a) {
  const double c = std::cos(a), s = std::sin(a);
  return {{{c, 0, -s}, {0, 1, 0}, {s, 0, c}}};
}

}  // namespace

double Planet::rotationRate() const { return 2 * M_PI / siderealDay; }

PlanetPose Planet::poseAt(double t) const {
  const double precessionRate = 2 * M_PI / (precessionPeriod * kSecondsPerDay);  // [rad/s]
  const double ce = std::cos(obliquity), se = std::sin(obliquity);
  const double lan = precessionRate * t;                               // [rad]
  const double turn = rotationOffset + rotationRate() * t - lan * ce;  // [rad]
  const Mat3 tilt{{{1, 0, 0}, {0, ce, -se}, {0, se, ce}}};
  PlanetPose pose;
  pose.rot = turnAboutY(lan) * tilt * turnAboutY(turn);
  // d/dt Ry(L) X Ry(r) = spin about y at dL/dt, plus spin about the axis at dr/dt.
  pose.spin = pose.axis() * (rotationRate() - precessionRate * ce);
  pose.spin.y += precessionRate;
  return pose;
}

void toSurface(const Planet &p, const VECTOR3 &pos, double t, double &lng, double &lat, double &alt) {
  const VECTOR3 local = p.poseAt(t).rot.tmul(pos);
  const double r = length(pos);
  lat = std::asin(local.y / r);
  lng = std::atan2(local.z, local.x);
  alt = r - p.radius;
}

VECTOR3 surfaceVelocity(const Planet &p, const VECTOR3 &pos, double t) {
  return carriedVelocity(p.poseAt(t).spin, pos);
}

}  // namespace physics
}  // namespace sim
