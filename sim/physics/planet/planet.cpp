// The turning, precessing planet: its orientation by date, surface
// coordinates and the motion of points carried round with it.
#include "sim/physics/planet/planet.h"

#include <cmath>

namespace sim {
namespace physics {
namespace {

const double kSecondsPerDay = 86400.0;

// The sines and cosines of the precession L, the obliquity e and the turn r.
struct PoseAngles {
  double sl, cl, se, ce, sr, cr;
};

PoseAngles poseAngles(const Planet &p, double t, bool withTurn) {
  PoseAngles a{};
  const double lan = p.precessionRate() * t;  // [rad]
  if (!(p.tiltFor == p.obliquity)) {
    p.sinTilt = std::sin(p.obliquity), p.cosTilt = std::cos(p.obliquity);
    p.tiltFor = p.obliquity;
  }
  a.sl = std::sin(lan), a.cl = std::cos(lan), a.se = p.sinTilt, a.ce = p.cosTilt;
  if (!withTurn) return a;
  // Whole sidereal days taken off first: the turn stays a small angle, exactly
  // as far round, and cheap to take the sine of.
  const double turn = p.rotationOffset + p.rotationRate() * std::fmod(t, p.siderealDay) - lan * a.ce;  // [rad]
  a.sr = std::sin(turn), a.cr = std::cos(turn);
  return a;
}

// d/dt Ry(L) Rx(e) Ry(r) is a turn about y at dL/dt and one about the axis,
// Ry(L) Rx(e) (0, 1, 0), at dr/dt.
VECTOR3 spinOf(const Planet &p, const PoseAngles &a) {
  const double precession = p.precessionRate();  // [rad/s]
  VECTOR3 spin = _V(-a.sl * a.se, a.ce, a.cl * a.se) * (p.rotationRate() - precession * a.ce);
  spin.y += precession;
  return spin;
}

}  // namespace

double Planet::rotationRate() const { return 2 * M_PI / siderealDay; }

double Planet::precessionRate() const { return 2 * M_PI / (precessionPeriod * kSecondsPerDay); }

// Ry(L) Rx(e) Ry(r) multiplied out.
PlanetPose Planet::poseAt(double t) const {
  const PoseAngles a = poseAngles(*this, t, true);
  const Mat3 rot{{{a.cl * a.cr - a.sl * a.ce * a.sr, -a.sl * a.se, -a.cl * a.sr - a.sl * a.ce * a.cr},
                  {-a.se * a.sr, a.ce, -a.se * a.cr},
                  {a.sl * a.cr + a.cl * a.ce * a.sr, a.cl * a.se, -a.sl * a.sr + a.cl * a.ce * a.cr}}};
  return {rot, spinOf(*this, a)};
}

VECTOR3 Planet::spinAt(double t) const { return spinOf(*this, poseAngles(*this, t, false)); }

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
