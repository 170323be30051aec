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
  VECTOR3 invI;  // 1 / inertia per unit mass [1/m^2], 0 on a degenerate axis
  bool drag;
  double h;  // [s]
};

Mat3 turnRate(const Mat3 &r, const VECTOR3 &w) {
  const Mat3 spin{{{0, w.z, -w.y}, {-w.z, 0, w.x}, {w.y, -w.x, 0}}};
  return r * spin;
}

VECTOR3 angularAcceleration(const Setup &s, const VECTOR3 &w, const VECTOR3 &torquePerMass) {
  const VECTOR3 &i = s.def.pmi;
  return _V((torquePerMass.x - (i.y - i.z) * w.y * w.z) * s.invI.x,
            (torquePerMass.y - (i.z - i.x) * w.z * w.x) * s.invI.y,
            (torquePerMass.z - (i.x - i.y) * w.x * w.y) * s.invI.z);
}

Rates rates(const Setup &s, const Motion &m, double t) {
  const double mass = std::max(s.loads.mass - s.loads.massFlow * t, kMinimumMass);
  const double r2 = dotp(m.pos, m.pos);
  VECTOR3 acc = m.pos * (-s.planet.gm / (r2 * std::sqrt(r2))) + m.rot * s.loads.thrust / mass;
  VECTOR3 torque = s.loads.thrustTorque / mass;
  if (s.drag) {
    const VECTOR3 air = m.vel - airVelocity(s.loads.spin, m.pos), bodyAir = m.rot.tmul(air);
    acc += dragPerMass(s.def, s.loads.density, mass, air, bodyAir);
    torque += airTorquePerMass(s.def, s.loads.density, bodyAir, m.omega);
  }
  if (s.loads.ground) {
    const GroundPush push = groundPush(s.def, s.planet, m, s.loads.spin, mass, s.h);
    acc += push.force / mass;
    torque += push.torque / mass;
  }
  return {m.vel, acc, turnRate(m.rot, m.omega), angularAcceleration(s, m.omega, torque)};
}

Motion advanced(const Motion &m, const Rates &r, double h) {
  Motion out{m.pos + r.dpos * h, m.vel + r.dvel * h, m.rot, m.omega + r.domega * h};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) out.rot.m[i][j] += r.drot.m[i][j] * h;
  return out;
}

double inverseOrZero(double x) { return x > 0 ? 1 / x : 0; }

}  // namespace

Mat3 orthonormalised(const Mat3 &r) {
  // One Newton step towards the polar factor, R (3 - R^T R) / 2: the error of
  // a step's worth of drift is squared away, and no axis is favoured.
  Mat3 e = r.transposed() * r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) e.m[i][j] = (i == j ? 1.5 : 0.0) - 0.5 * e.m[i][j];
  return r * e;
}

void integrate(Motion &m, const Vessel &def, const StepLoads &loads, const Planet &p, double h) {
  const Setup s{def,
                loads,
                p,
                _V(inverseOrZero(def.pmi.x), inverseOrZero(def.pmi.y), inverseOrZero(def.pmi.z)),
                loads.density > 0,
                h};
  const Rates k1 = rates(s, m, 0);
  const Rates k2 = rates(s, advanced(m, k1, h / 2), h / 2);
  const Rates k3 = rates(s, advanced(m, k2, h / 2), h / 2);
  const Rates k4 = rates(s, advanced(m, k3, h), h);
  Rates sum{k1.dpos + (k2.dpos + k3.dpos) * 2 + k4.dpos, k1.dvel + (k2.dvel + k3.dvel) * 2 + k4.dvel, k1.drot,
            k1.domega + (k2.domega + k3.domega) * 2 + k4.domega};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      sum.drot.m[i][j] = k1.drot.m[i][j] + 2 * (k2.drot.m[i][j] + k3.drot.m[i][j]) + k4.drot.m[i][j];
  m = advanced(m, sum, h / 6);
  m.rot = orthonormalised(m.rot);
}

}  // namespace physics
}  // namespace sim
