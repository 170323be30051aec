// Two-body orbits about the planet: elements of a state, and a state of elements.
#include "sim/physics/planet/orbit.h"

#include <algorithm>
#include <cmath>

#include "sim/platform/float_traps.h"

namespace sim {
namespace physics {
namespace {

const double kSecondsPerDay = 86400.0;

// Eccentric anomaly of mean anomaly m by Newton's method: E - e sin E = m on a
// closed orbit, e sinh E - E = m on an open one. A very eccentric closed orbit
// starts from the half turn on m's own side (m is within half a turn of 0):
// between there and the root the curve bends one way only, so the steps close
// in without overshooting; from +pi, a negative m can leave them wandering.
double eccentricAnomaly(double m, double e) {
  const bool closed = e < 1;
  double x = closed ? (e > 0.8 ? std::copysign(M_PI, m) : m) : std::asinh(m / e);
  for (int k = 0; k < 50; ++k) {
    const double f = closed ? x - e * std::sin(x) - m : e * std::sinh(x) - x - m;
    const double df = closed ? 1 - e * std::cos(x) : e * std::cosh(x) - 1;
    const double dx = f / df;
    x -= dx;
    if (std::fabs(dx) < 1e-15 * std::max(1.0, std::fabs(x))) break;
  }
  return x;
}

}  // namespace

Orbit orbitOf(const Planet &p, const VECTOR3 &pos, const VECTOR3 &vel, const VECTOR3 &axis) {
  const double r = length(pos);
  const double energy = 0.5 * dotp(vel, vel) - p.gm / r;  // specific orbital energy [J/kg]
  const VECTOR3 h = crossp(pos, vel);                     // specific angular momentum [m^2/s]
  const double h2 = dotp(h, h);                           // [m^4/s^2]
  const double e = std::sqrt(std::max(0.0, 1 + 2 * energy * h2 / (p.gm * p.gm)));
  Orbit o;
  o.bound = energy < 0;
  o.eccentricity = e;
  o.semiMajorAxis = energy == 0 ? HUGE_VAL : -p.gm / (2 * energy);  // a parabola's: a constant, not a division by 0
  o.inclination = h2 > 0 ? std::acos(std::clamp(-dotp(h, axis) / std::sqrt(h2), -1.0, 1.0)) : 0;
  o.periapsisAlt = h2 / (p.gm * (1 + e)) - p.radius;
  if (!o.bound) return o;
  o.apoapsisAlt = o.semiMajorAxis * (1 + e) - p.radius;
  o.period = 2 * M_PI * std::sqrt(o.semiMajorAxis * o.semiMajorAxis * o.semiMajorAxis / p.gm);
  return o;
}

// Elements read from a scenario may put the vessel beyond what a double holds
// (a huge axis cubed, an open orbit's cosh far from its epoch): the state is
// worked out with the floating-point faults held, and refused if not finite.
bool stateFromElements(const Planet &p, const Elements &el, double mjd, VECTOR3 &pos, VECTOR3 &vel) {
  const HeldFloatingPointFaults held;
  const double e = el.e, a = el.a;
  const bool closed = e < 1;
  if (!(e >= 0) || e == 1 || (closed ? !(a > 0) : !(a < 0))) return false;
  const double n = std::sqrt(p.gm / std::fabs(a * a * a));  // mean motion [rad/s]
  const double meanAnomaly = el.meanLongitude - el.periapsisLongitude + n * (mjd - el.epoch) * kSecondsPerDay;
  const double m = closed ? std::remainder(meanAnomaly, 2 * M_PI) : meanAnomaly;
  const double ea = eccentricAnomaly(m, e);
  // In the orbit's plane: x towards periapsis, y a quarter turn on in the direction of motion.
  double x, y, vx, vy;
  if (closed) {
    const double b = a * std::sqrt(1 - e * e), rate = n / (1 - e * std::cos(ea));  // dE/dt [rad/s]
    x = a * (std::cos(ea) - e);
    y = b * std::sin(ea);
    vx = -a * std::sin(ea) * rate;
    vy = b * std::cos(ea) * rate;
  } else {
    const double b = -a * std::sqrt(e * e - 1), rate = n / (e * std::cosh(ea) - 1);
    x = a * (std::cosh(ea) - e);
    y = b * std::sinh(ea);
    vx = a * std::sinh(ea) * rate;
    vy = b * std::cosh(ea) * rate;
  }
  // Right-handed (X, Y, Z) = (x, z, y) of the global frame: the usual turns
  // by the node about Z, the inclination about X and the argument of periapsis.
  const double w = el.periapsisLongitude - el.node;
  const double cn = std::cos(el.node), sn = std::sin(el.node), ci = std::cos(el.i), si = std::sin(el.i);
  const double cw = std::cos(w), sw = std::sin(w);
  const VECTOR3 toPeriapsis = _V(cn * cw - sn * sw * ci, sw * si, sn * cw + cn * sw * ci);
  const VECTOR3 ahead = _V(-cn * sw - sn * cw * ci, cw * si, -sn * sw + cn * cw * ci);
  const VECTOR3 at = toPeriapsis * x + ahead * y, moving = toPeriapsis * vx + ahead * vy;
  if (!std::isfinite(dotp(at, at) + dotp(moving, moving))) return false;  // beyond what a double holds
  pos = at;
  vel = moving;
  return true;
}

}  // namespace physics
}  // namespace sim
