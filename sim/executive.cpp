// The executive: one step of the world, always in the same order.
//
//   1. the pilot (keys, attitude inputs, throttle);
//   2. forces: atmosphere, thrust and propellant flow of every vessel;
//   3. integration: landed vessels stay put or lift off, flying ones move,
//      the clock advances, vessels that reached the ground settle;
//   4. each vessel's clbkPostStep.
// Everything the integration needs from the forces phase is in VesselStep.
//
// Only vessels present when the step began take part in it: callbacks may
// create or delete vessels, so the list is copied first, and a vessel is
// looked up again before each use.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "physics/atmosphere.h"
#include "physics/dynamics.h"
#include "physics/ground.h"
#include "physics/propulsion.h"
#include "world.h"

namespace sim {
namespace {

const double kSecondsPerDay = 86400.0;  // [s]

// A vessel's share of the step: what the forces phase hands to integration.
struct VesselStep {
  Vessel *vessel = nullptr;
  physics::Propulsion propulsion;
  physics::StepLoads loads;
};

// A vessel of the step's list that a callback deleted meanwhile takes no
// further part; its record stays allocated, so the check is safe.
bool stillTakesPart(const World &w, Vessel *v) { return w.fromHandle(v) != nullptr; }

std::string format(const char *pattern, double value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

VesselStep forcesOn(Vessel &v, const physics::Planet &p, double h) {
  VesselStep s;
  s.vessel = &v;
  const physics::AirState air = physics::airAt(length(v.pos) - p.radius);
  s.propulsion = physics::propulsionOf(v, air.pressure, h);
  s.loads.mass = v.mass();
  s.loads.massFlow = s.propulsion.massFlow;
  s.loads.thrust = s.propulsion.force;
  s.loads.thrustTorque = s.propulsion.torque;
  s.loads.density = air.density;
  return s;
}

void fly(Vessel &v, const physics::StepLoads &loads, const physics::Planet &p, double h) {
  physics::Motion m{v.pos, v.vel, v.rot, v.omega};
  physics::integrate(m, v, loads, p, h);
  v.pos = m.pos;
  v.vel = m.vel;
  v.rot = m.rot;
  v.omega = m.omega;
}

}  // namespace

void World::step() {
  const double h = dt * timeAcceleration;  // [s]
  const std::vector<Vessel *> taking = vessels();

  if (pilot) pilot(*this);

  std::vector<VesselStep> work;
  work.reserve(taking.size());
  for (Vessel *v : taking)
    if (stillTakesPart(*this, v)) work.push_back(forcesOn(*v, planet, h));

  std::vector<Vessel *> flying;
  for (VesselStep &s : work) {
    Vessel &v = *s.vessel;
    if (v.landed && (v.crashed || !physics::liftsOff(v, planet, s.loads.thrust, s.loads.mass))) {
      physics::drawPropellant(v, s.propulsion);
      physics::holdOnSurface(v, planet, planetTime() + h);
      continue;
    }
    if (v.landed) {
      v.landed = false;
      recordEvent(v.name, "liftoff", format("thrust %.0f N", length(s.loads.thrust)));
    }
    fly(v, s.loads, planet, h);
    physics::drawPropellant(v, s.propulsion);
    flying.push_back(&v);
  }
  simt_ += h;

  for (Vessel *v : flying) {
    double speed = 0;
    const physics::Contact c = physics::settleOnContact(*v, planet, planetTime(), speed);
    if (c != physics::Contact::none)
      recordEvent(v->name, c == physics::Contact::crashed ? "crashed" : "landed", format("at %.2f m/s", speed));
  }

  for (Vessel *v : taking) {
    if (!stillTakesPart(*this, v)) continue;
    auto *callbacks = callbacksOf(v->iface);
    if (!callbacks) continue;
    CallingScope scope(*this, v);
    callbacks->clbkPostStep(simt_, h, mjd + simt_ / kSecondsPerDay);
  }
}

}  // namespace sim
