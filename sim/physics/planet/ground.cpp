// Ground contact: springs under the touchdown points, and standing still.
#include "sim/physics/planet/ground.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/planet/surface.h"
#include "sim/world/vessel.h"

namespace sim {
namespace physics {
namespace {

const double kStiffnessPerKg = 1e3;    // [N/m per kg of empty mass]
const double kDampingShare = 0.1;      // damping [N s/m] per unit of stiffness [N/m]
const double kMaxSpringDepth = 1.0;    // [m]
const double kMaxFrictionDepth = 0.1;  // [m]
const double kFrictionFullSpeed = 10;  // below it friction fades as sqrt(0.1 v) [m/s]
const double kLateralFriction = 0.5, kLongitudinalFriction = 0.1;

// Friction of one point: mu times the pressure, fading at low speeds, against the motion.
double friction(double mu, double press, double speed) {
  double f = mu * press;
  if (std::fabs(speed) < kFrictionFullSpeed) f *= std::sqrt(std::fabs(0.1 * speed));
  return speed > 0 ? -f : f;
}

// Scales a total friction force, and its parts, so that it does not turn the
// vessel's own ground speed round within the step.
void limitReversal(double speed, double massPerStep, double &total, double (&parts)[3]) {
  const double most = -speed * massPerStep;  // [N]
  if ((most >= 0 && total > most) || (most <= 0 && total < most)) {
    const double scale = most / total;
    for (double &f : parts) f *= scale;
    total = most;
  }
}

// The farthest of the touchdown points from the vessel's centre [m].
double touchdownReach(const Vessel &v) {
  double reach2 = 0;  // [m^2]
  for (const VECTOR3 &td : v.touchdown) reach2 = std::max(reach2, dotp(td, td));
  return std::sqrt(reach2);
}

}  // namespace

void setTouchdownPoints(Vessel &v, const VECTOR3 &pt1, const VECTOR3 &pt2, const VECTOR3 &pt3) {
  v.touchdown[0] = pt1;
  v.touchdown[1] = pt2;
  v.touchdown[2] = pt3;
  v.tdStiffness = v.emptyMass > 0 ? kStiffnessPerKg * v.emptyMass : 1e6;
  v.tdDamping = kDampingShare * v.tdStiffness;
  v.forceActive = v.landed;
}

GroundPush groundPush(const Vessel &v, const Planet &p, const Motion &m, const VECTOR3 &spin, double mass, double h) {
  GroundPush push;
  // Each point's place and depth first: within reach of the ground a vessel
  // often has none of them in it yet.
  VECTOR3 at[3];
  double depth[3];  // [m]
  bool touching = false;
  for (int i = 0; i < 3; ++i) {
    at[i] = m.pos + m.rot * v.touchdown[i];
    depth[i] = p.radius - length(at[i]);
    touching = touching || depth[i] > 0;
  }
  if (!touching) return push;
  const VECTOR3 up = unit(m.pos);
  // Along and across the touchdown direction, in the horizontal plane.
  const VECTOR3 along = m.rot * (v.touchdown[0] - (v.touchdown[1] + v.touchdown[2]) * 0.5);
  const VECTOR3 ahead = unit(along - up * dotp(along, up)), aside = crossp(up, ahead);
  double normal[3] = {}, lng[3] = {}, lat[3] = {}, lngTotal = 0, latTotal = 0;
  for (int i = 0; i < 3; ++i) {
    if (depth[i] <= 0) continue;
    const VECTOR3 ground = m.vel + m.rot * crossp(v.touchdown[i], m.omega) - carriedVelocity(spin, at[i]);
    const double press = std::min(depth[i], kMaxFrictionDepth) * v.tdStiffness;  // [N]
    normal[i] = std::min(depth[i], kMaxSpringDepth) * v.tdStiffness - dotp(ground, up) * v.tdDamping;
    lng[i] = friction(kLongitudinalFriction, press, dotp(ground, ahead));
    lat[i] = friction(kLateralFriction, press, dotp(ground, aside));
    lngTotal += lng[i];
    latTotal += lat[i];
  }
  const VECTOR3 centre = m.vel - carriedVelocity(spin, m.pos);
  limitReversal(dotp(centre, ahead), mass / h, lngTotal, lng);
  limitReversal(dotp(centre, aside), mass / h, latTotal, lat);
  for (int i = 0; i < 3; ++i) {
    if (normal[i] == 0 && lng[i] == 0 && lat[i] == 0) continue;
    const VECTOR3 f = up * normal[i] + ahead * lng[i] + aside * lat[i];
    push.force += f;
    push.torque += crossp(m.rot.tmul(f), v.touchdown[i]);
  }
  return push;
}

double lowestPoint(const Vessel &v, const Planet &p) {
  double lowest = HUGE_VAL;  // above everything until a point is seen (a constant: no fault is raised)
  for (const VECTOR3 &td : v.touchdown) lowest = std::min(lowest, length(v.pos + v.rot * td));
  return lowest - p.radius;
}

bool nearGround(const Vessel &v, const Planet &p, const VECTOR3 &spin, double h) {
  const double points = touchdownReach(v);  // [m]
  const VECTOR3 ground = v.vel - carriedVelocity(spin, v.pos);
  const double reach = points + std::sqrt(dotp(ground, ground)) * h + 1;  // [m]
  const double r2 = dotp(v.pos, v.pos);
  return r2 < (p.radius + reach) * (p.radius + reach) && lowestPoint(v, p) < reach - points;
}

double fastestSpin(const Planet &p) { return p.rotationRate() + 2 * std::fabs(p.precessionRate()); }

bool clearOfGround(const Vessel &v, const Planet &p, double r, double h, double maxSpin) {
  // The ground speed is at most the speed plus that of the ground beneath.
  return r >= p.radius + touchdownReach(v) + (length(v.vel) + maxSpin * r) * h + 1;
}

// The springs and their damping act on the vessel's motion along the local
// vertical and about each of its axes: a point's push along the vertical n
// turns the vessel about an axis through the lever td x n, against the
// inertia about that axis. The fastest rate [1/s] they set, with the vessel
// turned as it is now, bounds the step.
double contactStep(const Vessel &v) {
  const double mass = std::max(v.mass(), 1e-3);  // [kg]
  const VECTOR3 n = v.rot.tmul(unit(v.pos));
  double perMass = 0;  // response of the vessel to a unit push at each point [1/kg]
  for (const VECTOR3 &td : v.touchdown) {
    const VECTOR3 lever = crossp(td, n);
    perMass += 1 + (v.pmi.x > 0 ? lever.x * lever.x / v.pmi.x : 0) + (v.pmi.y > 0 ? lever.y * lever.y / v.pmi.y : 0) +
               (v.pmi.z > 0 ? lever.z * lever.z / v.pmi.z : 0);
  }
  perMass /= mass;
  const double rate = std::max(std::sqrt(v.tdStiffness * perMass), v.tdDamping * perMass);  // [1/s]
  // Well within the Runge-Kutta method's stable 2.8; without springs or damping
  // no limit, as a constant rather than a division by 0.
  return rate > 0 ? 1.5 / rate : HUGE_VAL;
}

void holdOnSurface(Vessel &v, const Planet &p, const PlanetPose &pose) {
  placeOnSurface(v, p, v.surfLng, v.surfLat, v.surfHeading, pose);
}

}  // namespace physics
}  // namespace sim
