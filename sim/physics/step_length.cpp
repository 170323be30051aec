// The longest sub-step a vessel's state allows: the least of what its spin,
// the air, its orbit and the ground beneath it allow.
#include "sim/physics/step_length.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/aerodynamics.h"
#include "sim/physics/planet/ground.h"
#include "sim/world/vessel.h"

namespace sim {
namespace physics {
namespace {

// The classical Runge-Kutta method follows a turn, a decay or an orbital arc
// closely while each step covers only a small part of it.
const double kMaxTurn = 0.05;      // attitude change per step [rad]
const double kMaxDecay = 0.5;      // step times the rate at which drag or damping takes speed or spin away
const double kMaxArc = 0.01;       // orbital arc per step [rad], about 630 steps per orbit
const double kMinimumMass = 1e-3;  // as the integration takes it [kg]

// Drag is k v with k growing with the speed, so speed decays at up to 2k:
// 1/2 rho v (cs_x cw_x + cs_y cw_y + cs_z cw_z) / m, cw_z the +z one as drag takes it.
// The rate per unit of air speed [1/m], and the air speed squared [m^2/s^2].
double dragRatePerSpeed(const Vessel &v, double density) {
  const double area = v.crossSections.x * v.cwX + v.crossSections.y * v.cwY + v.crossSections.z * v.cwZPos;  // [m^2]
  return 0.5 * density * std::fabs(area) / std::max(v.mass(), kMinimumMass);
}

double airSpeedSquared(const Vessel &v, const VECTOR3 &spin) {
  const VECTOR3 air = v.vel - airVelocity(spin, v.pos);
  return dotp(air, air);
}

// Damping takes spin away at size rho rotdrag / I about each axis.
double dampingRate(const Vessel &v, double density) {
  if (density <= 0) return 0;
  const double i[3] = {v.pmi.x, v.pmi.y, v.pmi.z}, d[3] = {v.rotDrag.x, v.rotDrag.y, v.rotDrag.z};
  double rate = 0;  // [1/s]
  for (int k = 0; k < 3; ++k)
    if (d[k] != 0 && i[k] > 0) rate = std::max(rate, std::fabs(v.size * density * d[k]) / i[k]);
  return rate;
}

// Whether drag and damping, taking speed and spin away at most at decay
// [1/s], allow the step; in vacuum neither acts.
bool airAllows(const Vessel &v, double density, const VECTOR3 &spin, double decay) {
  if (density == 0) return true;
  const double drag = dragRatePerSpeed(v, density);  // [1/m]
  return drag * drag * airSpeedSquared(v, spin) <= decay * decay && dampingRate(v, density) <= decay;
}

}  // namespace

double maxSubStep(const Vessel &v, const Planet &p, double density, const VECTOR3 &spin, bool mayTouch) {
  const double r = length(v.pos);                    // [m]
  double h = kMaxArc * std::sqrt(r * r * r / p.gm);  // [s]
  const double turning = length(v.omega);            // [rad/s]
  if (turning > 0) h = std::min(h, kMaxTurn / turning);
  const double drag = dragRatePerSpeed(v, density) * std::sqrt(airSpeedSquared(v, spin));  // [1/s]
  const double decay = std::max(drag, dampingRate(v, density));                            // [1/s]
  if (decay > 0) h = std::min(h, kMaxDecay / decay);
  if (mayTouch && nearGround(v, p, spin, h)) h = std::min(h, contactStep(v));
  return h;
}

bool stepFits(const Vessel &v, const Planet &p, double density, const VECTOR3 &spin, double h, bool mayTouch) {
  const double r2 = dotp(v.pos, v.pos), arc = h * h * p.gm / (kMaxArc * kMaxArc);  // [m^2], [m^3]
  const double turn = kMaxTurn / h, decay = kMaxDecay / h;                         // [rad/s], [1/s]
  return arc * arc <= r2 * r2 * r2 && dotp(v.omega, v.omega) <= turn * turn && airAllows(v, density, spin, decay) &&
         (!mayTouch || !nearGround(v, p, spin, h) || h <= contactStep(v));
}

}  // namespace physics
}  // namespace sim
