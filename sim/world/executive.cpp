// The executive: one frame of the world. World::step is its schedule, in
// the simulator's order; the pilot and the modules act once per frame, with
// the frame's length, as in the simulator, and only the integration is cut
// finer, in sub-steps as short as each vessel's state needs (see
// physics/step_length.h). Everything one sub-step's integration needs from
// its forces phase is in VesselStep.
//
// Callbacks may create vessels, which join the frame at once, and delete
// them, which takes effect at the frame's end.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "sim/physics/atmosphere.h"
#include "sim/physics/dynamics.h"
#include "sim/physics/planet/ground.h"
#include "sim/physics/planet/surface.h"
#include "sim/physics/propulsion.h"
#include "sim/physics/step_length.h"
#include "sim/world/frame_scratch.h"
#include "sim/world/world.h"

namespace sim {
namespace {

// A vessel needing more sub-steps in one frame than this is spinning or
// braking beyond anything a vessel does; it goes on with longer steps, and
// if its state leaves the range below it is recorded as diverged.
const int kMaxSubSteps = 1000000;

// The range a vessel's state is flown in, per axis. Within it no sub-step's
// arithmetic comes near the largest double (the orbit's r^6 is below 1e92);
// a state beyond it has left anything a vessel does, and is not flown on, so
// that its numbers never overflow into infinity or NaN.
const double kFarthest = 1e15;      // from the planet's centre, some 6700 AU [m]
const double kFastest = 299792458;  // the speed of light [m/s]
const double kFastestSpin = 1e4;    // [rad/s]
const double kLargestRotEntry = 2;  // an attitude matrix is kept orthonormal: its entries are at most 1

// A vessel's share of a sub-step: what the forces phase hands to integration.
struct VesselStep {
  Vessel *vessel = nullptr;
  physics::Propulsion propulsion;
  physics::StepLoads loads;
};

using Snapshot = FrameScratch::Snapshot;

std::string format(const char *pattern, double value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

physics::AirState airAround(const Vessel &v, const physics::Planet &p) {
  return physics::airAt(length(v.pos) - p.radius);
}

// The planet's spin over the frame [rad/s], worked out when a vessel first
// needs it: one in vacuum and clear of the ground never does.
class FrameSpin {
 public:
  explicit FrameSpin(const World &w) : world_(w) {}
  const VECTOR3 &operator()() {
    if (!known_) {
      spin_ = world_.planetSpin();
      known_ = true;
    }
    return spin_;
  }

 private:
  const World &world_;
  bool known_ = false;
  VECTOR3 spin_{};
};

// The forces over a step of h [s]; the ground's push is looked for only where
// it may be met (mayTouch) and the ground is near.
VesselStep forcesOn(Vessel &v, const physics::Planet &p, const physics::AirState &air, const VECTOR3 &spin, double h,
                    bool mayTouch) {
  VesselStep s;
  s.vessel = &v;
  s.propulsion = physics::propulsionOf(v, air.pressure, h);
  s.loads.mass = v.mass();
  s.loads.massFlow = s.propulsion.massFlow;
  s.loads.thrust = s.propulsion.force;
  s.loads.thrustTorque = s.propulsion.torque;
  s.loads.density = air.density;
  s.loads.spin = spin;
  s.loads.ground = mayTouch && physics::nearGround(v, p, spin, h);
  return s;
}

// Quiet comparisons: a NaN fails them without raising the invalid flag.
bool within(double x, double limit) { return std::islessequal(std::fabs(x), limit); }
bool within(const VECTOR3 &a, double limit) {
  bool in = within(a.x, limit);
  in &= within(a.y, limit);
  in &= within(a.z, limit);
  return in;
}

// The motion only: integration changes nothing else, so each sub-step checks
// this. Every test is made, without branches: almost always all pass.
bool withinReach(const Vessel &v) {
  bool in = within(v.pos, kFarthest);
  in &= within(v.vel, kFastest);
  in &= within(v.omega, kFastestSpin);
  for (const auto &row : v.rot.m)
    for (double entry : row) in &= within(entry, kLargestRotEntry);
  return in;
}

Snapshot snapshotOf(Vessel &v, std::vector<double> &pool) {
  Snapshot s{&v, pool.size(), v.tanks.size()};
  for (const Tank &t : v.tanks) pool.push_back(t.mass);
  return s;
}

// Tanks deleted during the frame are gone from both; the rest line up by order.
void restore(const Snapshot &s, const std::vector<double> &pool) {
  Vessel &v = *s.vessel;
  v.flight() = v.frameStart;
  for (std::size_t k = 0; k < v.tanks.size() && k < s.tanks; ++k) v.tanks[k].mass = pool[s.firstTank + k];
}

// A frame's worth of flight for one vessel that is off the ground, in
// sub-steps until the frame is covered: a single sub-step covers the whole
// frame whenever the state allows, computed exactly as a frame of that
// length. The planet's axis moves too slowly to matter within a frame: its
// spin is the frame's. Notes when the vessel reaches the ground and leaves it.
struct FrameFlown {
  bool touchedDown = false;
  double impactSpeed = 0;  // relative to the ground [m/s]
  bool leftGround = false;
};

FrameFlown flyFrame(const World &w, Vessel &v, FrameSpin &frameSpin, double maxSpin, double frame) {
  FrameFlown out;
  double left = frame;              // [s]
  if (!withinReach(v)) return out;  // as it was loaded or set: it is not flown
  for (int steps = 0; left > 0; ++steps) {
    const double r = length(v.pos);  // [m]
    const physics::AirState air = physics::airAt(r - w.planet.radius);
    // High above the ground the ground is not looked for; in vacuum there
    // nothing of the turning planet reaches the vessel.
    const bool mayTouch = !physics::clearOfGround(v, w.planet, r, left, maxSpin);
    const VECTOR3 spin = air.density == 0 && !mayTouch ? VECTOR3{} : frameSpin();
    const double limit = steps >= kMaxSubSteps || physics::stepFits(v, w.planet, air.density, spin, left, mayTouch)
                             ? left
                             : physics::maxSubStep(v, w.planet, air.density, spin, mayTouch);
    const double pieces = std::ceil(left / limit);
    const double h = pieces <= 1 ? left : left / pieces;  // [s]
    left = pieces <= 1 ? 0 : left - h;
    const VesselStep s = forcesOn(v, w.planet, air, spin, h, mayTouch);
    const double approach = s.loads.ground ? length(v.vel - physics::carriedVelocity(spin, v.pos)) : 0;  // [m/s]
    physics::integrate(v, v, s.loads, w.planet, h);  // the motion, by the definition
    physics::drawPropellant(v, s.propulsion);
    // Where it would touch the ground means nothing out of range. After the
    // frame's last sub-step clear of the ground nothing below reads the state:
    // the frame's end checks it.
    if ((left > 0 || s.loads.ground || v.touching) && !withinReach(v)) break;
    // Within a micrometre counts: a vessel set down on its points stays in touch.
    const bool touching = s.loads.ground && physics::lowestPoint(v, w.planet) < 1e-6;
    if (touching && !v.touching && !out.touchedDown) {
      out.touchedDown = true;
      out.impactSpeed = approach;
    }
    out.leftGround = out.leftGround || (v.touching && !touching);
    v.touching = touching;
  }
  return out;
}

// Lying still on the ground: hardly moving or turning against it, as the
// simulator's landing test (Vessel::CheckLanded) asks.
bool lyingStill(const Vessel &v, const VECTOR3 &spin) {
  const VECTOR3 drift = v.vel - physics::carriedVelocity(spin, v.pos), turn = v.omega - v.rot.tmul(spin);
  return dotp(drift, drift) <= 1e-3 && dotp(turn, turn) <= 1e-6;  // 0.03 m/s, 1e-3 rad/s
}

// The person's input reaches the focus vessel alone, as an override of one
// frame on the attitude groups of its mode (the six rotation groups, or the
// six linear ones after them), added to what its module set (the simulator's
// Vessel::ApplyUserAttitudeControls).
void applyInput(Vessel &v, const double (&input)[15]) {
  if (v.attitudeMode != 1 && v.attitudeMode != 2) return;
  const int first = v.attitudeMode == 1 ? THGROUP_ATT_PITCHUP : THGROUP_ATT_RIGHT;
  for (int t = first; t < first + 6; ++t) {
    const THGROUP_TYPE type = static_cast<THGROUP_TYPE>(t);
    if (input[type] == 0) continue;
    if (const ThrusterGroup *g = v.group(type))
      for (Id id : g->thrusters)
        if (Thruster *th = v.thruster(id)) th->override += input[type];
  }
}

// The frame callbacks of a vessel's interface; the host's own, whose callbacks
// do nothing, is not called.
VESSEL2 *moduleCallbacks(const Vessel &v) { return v.iface == v.hostIface ? nullptr : callbacksOf(v.iface); }

}  // namespace

void World::step() {
  const double frame = dt * timeAcceleration;  // [s]
  stepping_ = true;
  applyPilot();            // keys, attitude inputs, throttle, time acceleration
  callPreStep(frame);      // each vessel's clbkPreStep, with the frame's start
  flyVessels(frame);       // forces, integration and ground contact; landed vessels stay or lift off
  simt_ += frame;          // the clock
  recordTouchdowns();      // reached the ground, left it, came to rest
  callPostStep(frame);     // each vessel's clbkPostStep, with the frame's end
  restoreDiverged(frame);  // a state beyond the range it is flown in goes back to the frame's start
  stepping_ = false;
  deleteDoomed();  // the vessels deleted during the frame
}

void World::applyPilot() {
  if (pilot) pilot(*this);
  const double *input = cockpit_.input;
  if (std::any_of(input, input + 15, [](double level) { return level != 0; }))  // the focus is looked up only then
    if (Vessel *focus = find(focusVessel)) applyInput(*focus, cockpit_.input);
}

// The vessel list is walked by index, as the simulator walks it: a vessel
// created in a callback joins the walk at once (one made in clbkPreStep is
// integrated in this frame too), and none leaves before the frame's end.
void World::callPreStep(double frame) {
  for (size_t i = 0; i < order_.size(); ++i) {
    Vessel *v = order_[i];
    if (VESSEL2 *callbacks = moduleCallbacks(*v)) {
      CallingScope scope(*this, v);
      callbacks->clbkPreStep(simt_, frame, mjdAt(simt_));
    }
  }
}

void World::flyVessels(double frame) {
  FrameScratch &f = *scratch_;
  f.clear();
  FrameSpin spin(*this);
  const double maxSpin = physics::fastestSpin(planet);  // [rad/s]
  for (Vessel *v : order_) {
    f.before.push_back(snapshotOf(*v, f.tankPool));
    v->frameStart = v->flight();
    v->inFrame = true;
    physics::startFrame(*v);
    const bool thrusting = physics::thrustEngaged(*v);
    if (v->landed) {
      // Any force ends the landed state, as in the simulator (Vessel::Update):
      // the vessel then rests on its touchdown points' springs.
      if (!thrusting && !v->forceActive) {
        physics::holdOnSurface(*v, planet, planetPoseAt(planetTimeAt(simt_ + frame)));
        continue;
      }
      v->landed = false;
      v->touching = true;
      v->restTime = 0;
    }
    v->forceActive = false;
    const FrameFlown flown = flyFrame(*this, *v, spin, maxSpin, frame);
    if (flown.touchedDown) f.touchdowns.push_back({v, false, flown.impactSpeed});
    if (flown.leftGround && thrusting)
      f.touchdowns.push_back({v, true, length(physics::propulsionOf(*v, airAround(*v, planet).pressure, 0).force)});
    // Still on the ground without thrust for long enough: landed where it lies.
    v->restTime = v->touching && !thrusting && lyingStill(*v, spin()) ? v->restTime + frame : 0;
    if (v->restTime >= physics::kRestBeforeLanded) {
      const physics::PlanetPose &pose = planetPoseAt(planetTimeAt(simt_ + frame));
      double lng, lat, alt;
      physics::toSurface(planet, v->pos, planetTimeAt(simt_ + frame), lng, lat, alt);
      physics::placeOnSurface(*v, planet, lng, lat,
                              physics::headingOf(*v, planet, v->rot, v->pos, planetTimeAt(simt_ + frame)), pose);
      v->touching = false;
      v->restTime = 0;
      f.landings.push_back(v);
    }
  }
}

void World::recordTouchdowns() {
  for (const FrameScratch::Touchdown &t : scratch_->touchdowns) {
    if (t.leaving) {
      record_.record(t.vessel->name, EventKind::liftoff, format("thrust %.0f N", t.value));
      continue;
    }
    record_.record(t.vessel->name, EventKind::touchdown, format("at %.2f m/s", t.value));
    if (t.value <= physics::kMaxLandingSpeed) continue;
    t.vessel->crashed = true;
    record_.record(t.vessel->name, EventKind::crashed, format("at %.2f m/s", t.value));
  }
  for (Vessel *v : scratch_->landings) record_.record(v->name, EventKind::landed, "at rest");
}

// The post-step callbacks run before the frame's new states are made
// current, as in the simulator: what a module reads there of a vessel's
// position, velocity, attitude and spin is the frame's start (Vessel::frameStart).
void World::callPostStep(double frame) {
  postStepping_ = true;
  for (size_t i = 0; i < order_.size(); ++i) {
    Vessel *v = order_[i];
    if (VESSEL2 *callbacks = moduleCallbacks(*v)) {
      CallingScope scope(*this, v);
      callbacks->clbkPostStep(simt_, frame, mjdAt(simt_));
    }
  }
  postStepping_ = false;
}

void World::restoreDiverged(double frame) {
  for (const Snapshot &s : scratch_->before) {
    s.vessel->inFrame = false;
    if (withinReach(*s.vessel) && std::isfinite(s.vessel->mass())) continue;
    restore(s, scratch_->tankPool);
    markDiverged(*s.vessel, "its state left the range it can be flown in during the frame from " +
                                format("%.2f s", simt_ - frame) + "; it is kept as the frame found it");
  }
}

// As the simulator's KillVessels has them go.
void World::deleteDoomed() {
  const std::vector<Vessel *> doomed = std::move(doomed_);
  doomed_.clear();
  for (Vessel *v : doomed) deleteVessel(v);
}

void World::markDiverged(Vessel &v, const std::string &why) {
  diverged_.push_back(v.name);
  record_.record(v.name, EventKind::diverged, why);
  log_->error("vessel " + v.name + " diverged: " + why);
}

}  // namespace sim
