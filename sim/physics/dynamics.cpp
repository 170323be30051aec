// The fourth-order Runge-Kutta step of a vessel's translation and rotation.
#include "sim/physics/dynamics.h"

#include <algorithm>

#include "sim/physics/aerodynamics.h"
#include "sim/physics/planet/ground.h"
#include "sim/world/vessel.h"

namespace sim {
namespace physics {
namespace {

// A vessel defined without mass (or burning all of it) still moves finitely.
const double kMinimumMass = 1e-3;  // [kg]

struct Rates {
  VECTOR3 dpos, dvel;
  Mat3 drot;
  VECTOR3 domega;
};

// Per-step constants, worked out once so that the four stages stay cheap.
struct Setup {
  const Vessel &def;
  const StepLoads &loads;
  const Planet &planet;
  VECTOR3 invI;    // 1 / inertia per unit mass [1/m^2], 0 on a degenerate axis
  double h;        // [s]
  bool airTorque;  // the air turns the vessel (turnedByAir)
};

// R W with W r = r x w: the product with W = [[0, wz, -wy], [-wz, 0, wx],
// [wy, -wx, 0]] written out without its zeros.
inline Mat3 turnRate(const Mat3 &r, const VECTOR3 &w) {
  Mat3 d;
  for (int i = 0; i < 3; ++i) {
    const double *row = r.m[i];
    d.m[i][0] = row[1] * -w.z + row[2] * w.y;
    d.m[i][1] = row[0] * w.z + row[2] * -w.x;
    d.m[i][2] = row[0] * -w.y + row[1] * w.x;
  }
  return d;
}

inline VECTOR3 angularAcceleration(const Setup &s, const VECTOR3 &w, const VECTOR3 &torquePerMass) {
  const VECTOR3 &i = s.def.pmi;
  return _V((torquePerMass.x - (i.y - i.z) * w.y * w.z) * s.invI.x,
            (torquePerMass.y - (i.z - i.x) * w.z * w.x) * s.invI.y,
            (torquePerMass.z - (i.x - i.y) * w.x * w.y) * s.invI.z);
}

// The rates, with what acts on the vessel known at compile time: thrust
// (or a flow of propellant), air, the ground. Each leaves out only terms that
// are exactly zero without it, so every combination gives the same numbers.
template <bool kThrust, bool kAir, bool kGround>
Rates rates(const Setup &s, const Motion &m, double t) {
  const double r2 = dotp(m.pos, m.pos);
  VECTOR3 acc = m.pos * (-s.planet.gm / (r2 * std::sqrt(r2)));
  if (!kThrust && !kAir && !kGround) return {m.vel, acc, turnRate(m.rot, m.omega), angularAcceleration(s, m.omega, {})};
  const double mass = std::max(s.loads.mass - s.loads.massFlow * t, kMinimumMass);
  VECTOR3 torque{};
  if (kThrust) {
    acc += m.rot * s.loads.thrust / mass;
    torque = s.loads.thrustTorque / mass;
  }
  if (kAir) {
    const VECTOR3 air = m.vel - airVelocity(s.loads.spin, m.pos), bodyAir = m.rot.tmul(air);
    acc += dragPerMass(s.def, s.loads.density, mass, air, bodyAir);
    if (s.airTorque) torque += airTorquePerMass(s.def, s.loads.density, bodyAir, m.omega);
  }
  if (kGround) {
    const GroundPush push = groundPush(s.def, s.planet, m, s.loads.spin, mass, s.h);
    acc += push.force / mass;
    torque += push.torque / mass;
  }
  return {m.vel, acc, turnRate(m.rot, m.omega), angularAcceleration(s, m.omega, torque)};
}

inline Motion advanced(const Motion &m, const Rates &r, double h) {
  Motion out{m.pos + r.dpos * h, m.vel + r.dvel * h, m.rot, m.omega + r.domega * h};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) out.rot.m[i][j] += r.drot.m[i][j] * h;
  return out;
}

double inverseOrZero(double x) { return x > 0 ? 1 / x : 0; }

}  // namespace

Mat3 orthonormalised(const Mat3 &r) {
  // One Newton step towards the polar factor, R (3 - R^T R) / 2: the error of
  // a step's worth of drift is squared away, and no axis is favoured. R^T R
  // is symmetric: each entry below the diagonal is the one above it.
  Mat3 e;
  for (int i = 0; i < 3; ++i)
    for (int j = i; j < 3; ++j) {
      const double rtr = r.m[0][i] * r.m[0][j] + r.m[1][i] * r.m[1][j] + r.m[2][i] * r.m[2][j];
      e.m[i][j] = e.m[j][i] = (i == j ? 1.5 : 0.0) - 0.5 * rtr;
    }
  return r * e;
}

namespace {

template <bool kThrust, bool kAir, bool kGround>
void integrateWith(Motion &m, const Setup &s, double h) {
  const Rates k1 = rates<kThrust, kAir, kGround>(s, m, 0);
  const Rates k2 = rates<kThrust, kAir, kGround>(s, advanced(m, k1, h / 2), h / 2);
  const Rates k3 = rates<kThrust, kAir, kGround>(s, advanced(m, k2, h / 2), h / 2);
  const Rates k4 = rates<kThrust, kAir, kGround>(s, advanced(m, k3, h), h);
  Rates sum{k1.dpos + (k2.dpos + k3.dpos) * 2 + k4.dpos, k1.dvel + (k2.dvel + k3.dvel) * 2 + k4.dvel, k1.drot,
            k1.domega + (k2.domega + k3.domega) * 2 + k4.domega};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      sum.drot.m[i][j] = k1.drot.m[i][j] + 2 * (k2.drot.m[i][j] + k3.drot.m[i][j]) + k4.drot.m[i][j];
  m = advanced(m, sum, h / 6);
  m.rot = orthonormalised(m.rot);
}

using Integrator = void (*)(Motion &, const Setup &, double);
// By thrust, air and ground, as bits 0, 1 and 2.
const Integrator kIntegrators[8] = {integrateWith<false, false, false>, integrateWith<true, false, false>,
                                    integrateWith<false, true, false>,  integrateWith<true, true, false>,
                                    integrateWith<false, false, true>,  integrateWith<true, false, true>,
                                    integrateWith<false, true, true>,   integrateWith<true, true, true>};

}  // namespace

void integrate(Motion &m, const Vessel &def, const StepLoads &loads, const Planet &p, double h) {
  const Setup s{def, loads,
                p,   _V(inverseOrZero(def.pmi.x), inverseOrZero(def.pmi.y), inverseOrZero(def.pmi.z)),
                h,   turnedByAir(def)};
  const VECTOR3 &f = loads.thrust, &q = loads.thrustTorque;
  const bool thrust = f.x != 0 || f.y != 0 || f.z != 0 || q.x != 0 || q.y != 0 || q.z != 0 || loads.massFlow != 0;
  kIntegrators[(thrust ? 1 : 0) | (loads.density > 0 ? 2 : 0) | (loads.ground ? 4 : 0)](m, s, h);
}

}  // namespace physics
}  // namespace sim
