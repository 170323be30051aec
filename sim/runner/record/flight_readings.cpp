#include "sim/runner/record/flight_readings.h"

#include <cmath>

#include "sim/physics/aerodynamics.h"
#include "sim/physics/atmosphere.h"
#include "sim/physics/propulsion.h"
#include "sim/runner/record/vessel_report.h"

namespace sim {
namespace runner {
namespace {

// The specific force [m/s^2], global frame: all that acts but gravity. A
// vessel on the ground is held there, turning with the planet, so it feels
// the ground push against gravity whatever its engines do.
VECTOR3 specificForce(const Vessel &v, const World &w, const VECTOR3 &thrust, double density) {
  const physics::Planet &p = w.planet;
  const VECTOR3 spin = w.planetSpin();
  const double r = length(v.pos);
  const VECTOR3 gravity = v.pos * (-p.gm / (r * r * r));
  if (v.landed || v.touching)  // held by the ground, carried round: towards the axis, less gravity
    return crossp(physics::carriedVelocity(spin, v.pos), spin) - gravity;
  const double mass = v.mass();
  if (mass <= 0) return {};
  const VECTOR3 air = v.vel - physics::airVelocity(spin, v.pos);
  return v.rot * thrust / mass + physics::dragPerMass(v, density, mass, air, v.rot.tmul(air));
}

}  // namespace

FlightReadings readFlight(const Vessel &v, const World &w) {
  FlightReadings f;
  double lng, lat, alt;
  physics::toSurface(w.planet, v.pos, w.planetTime(), lng, lat, alt);
  f.latitude = lat * kDegPerRad;
  f.longitude = lng * kDegPerRad;
  f.verticalSpeed = dotp(v.vel, unit(v.pos));
  const physics::AirState air = physics::airAt(alt);
  const double airspeed = physics::airspeed(v, w.planet, w.planetTime());
  f.dynamicPressure = 0.5 * air.density * airspeed * airspeed;
  const VECTOR3 thrust = physics::propulsionOf(v, air.pressure, 0).force;  // vessel frame [N]
  f.thrust = length(thrust);
  f.axialAcceleration = dotp(specificForce(v, w, thrust, air.density), v.rot.column(2)) / kStandardGravity;
  return f;
}

}  // namespace runner
}  // namespace sim
