#include "sim/pilot/pilot.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "sim/pilot/clock.h"
#include "sim/pilot/instruments.h"

namespace sim {
namespace pilot {
namespace {

bool needsVessel(Action::Kind k) { return k != Action::Kind::timeWarp && k != Action::Kind::end; }

// The orbit of the state a comparison last read, for the rules after it in
// the same pass: a program compares one vessel's apoapsis and periapsis in
// rule after rule. The orbit follows from the position and velocity alone
// (the planet's axis holds for the pass), so an action fired meanwhile that
// moved the vessel is seen to.
class OrbitMemo {
 public:
  const physics::Orbit &of(const Vessel &v, const physics::Planet &p, const physics::PlanetPose &pose) {
    if (!known_ || !same(v.pos, pos_) || !same(v.vel, vel_)) {
      orbit_ = orbitOf(v, p, pose);
      pos_ = v.pos;
      vel_ = v.vel;
      known_ = true;
    }
    return orbit_;
  }

 private:
  static bool same(const VECTOR3 &a, const VECTOR3 &b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
  bool known_ = false;
  VECTOR3 pos_{}, vel_{};  // of the state read [m], [m/s]
  physics::Orbit orbit_;
};

// Only the instrument asked about is read: the pilot reads at every step.
double reading(const Vessel &v, const physics::Planet &p, const physics::PlanetPose &pose, const Condition &c,
               OrbitMemo &orbit) {
  switch (c.quantity) {
    case Quantity::altitude:
      return altitudeOf(v, p);
    case Quantity::speed:
      return length(v.vel);
    case Quantity::airspeed:
      return length(airVelocityOf(v, pose));
    case Quantity::apoapsis: {
      const physics::Orbit &o = orbit.of(v, p, pose);
      return o.bound ? o.apoapsisAlt : HUGE_VAL;  // escaping: no apoapsis (a constant: no fault)
    }
    case Quantity::periapsis:
      return orbit.of(v, p, pose).periapsisAlt;
    case Quantity::mass:
      return v.mass();
    case Quantity::tank:
      return c.tank < static_cast<int>(v.tanks.size()) ? v.tanks[c.tank].mass : NAN;  // no tank (a constant)
    case Quantity::inclination:
      return orbit.of(v, p, pose).inclination * 180 / M_PI;
    case Quantity::eccentricity:
      return orbit.of(v, p, pose).eccentricity;
  }
  return NAN;  // not reached: every quantity is answered above
}

// A missing vessel satisfies no comparison; a missing tank reads as NaN, which
// satisfies neither '>' nor '<'.
bool conditionHolds(const World &w, const Rule &r, const Vessel *v, OrbitMemo &orbit) {
  const Condition &c = r.condition;
  switch (c.kind) {
    case Condition::Kind::time:
      return timeReached(w.flightTime(), c.time);
    case Condition::Kind::exists:
      return w.find(c.vessel) != nullptr;
    case Condition::Kind::compare:
      return v && beyondThreshold(reading(*v, w.planet, w.planetPose(), c, orbit), c);
  }
  return false;
}

}  // namespace

double instrumentReading(const Vessel &v, const physics::Planet &p, const physics::PlanetPose &pose,
                         const Condition &c) {
  OrbitMemo orbit;
  return reading(v, p, pose, c, orbit);
}

bool beyondThreshold(double reading, const Condition &c) {
  return c.above ? std::isgreater(reading, c.threshold) : std::isless(reading, c.threshold);
}

double programPitch(const PitchProgram &p, double x) {
  const auto &pts = p.points;
  if (x <= pts.front().first) return pts.front().second;
  for (size_t i = 1; i < pts.size(); ++i)
    if (x < pts[i].first) {
      const double f = (x - pts[i - 1].first) / (pts[i].first - pts[i - 1].first);
      return pts[i - 1].second + f * (pts[i].second - pts[i - 1].second);
    }
  return pts.back().second;
}

Pilot::Pilot(Program program) : program_(std::move(program)), states_(program_.rules.size()) {}

Pilot::Progress Pilot::progress() const {
  Progress p{states_, -1, "", 0};
  if (steering_) {
    p.steerRule = static_cast<int>(steering_->rule);
    p.steerVessel = steering_->vessel;
    p.steerSince = steering_->since;
  }
  return p;
}

bool Pilot::resume(const Progress &p) {
  const int rules = static_cast<int>(program_.rules.size());
  if (static_cast<int>(p.rules.size()) != rules || p.steerRule >= rules ||
      (p.steerRule >= 0 && program_.rules[p.steerRule].action.kind != Action::Kind::steer))
    return false;
  states_ = p.rules;
  steering_.reset();
  if (p.steerRule >= 0)
    steering_ = ActiveSteering{p.steerVessel, program_.rules[p.steerRule].action.steering, p.steerSince,
                               static_cast<size_t>(p.steerRule)};
  return true;
}

Vessel *Pilot::vesselOf(const World &w, const Rule &r) const {
  if (!r.vessel.empty()) return w.find(r.vessel);
  if (!w.focusVessel.empty()) return w.find(w.focusVessel);
  return w.vessels().empty() ? nullptr : w.vessels().front();
}

void Pilot::act(World &w) {
  OrbitMemo orbit;
  for (size_t i = 0; i < program_.rules.size(); ++i) {
    const Rule &r = program_.rules[i];
    RuleState &s = states_[i];
    if (s.fired && !r.repeat) continue;
    Vessel *v = vesselOf(w, r);
    const bool holds = conditionHolds(w, r, v, orbit) && (v || !needsVessel(r.action.kind));
    if (!holds) {
      s.armed = true;
      continue;
    }
    if (!s.armed) continue;
    s.fired = true;
    s.armed = false;
    fire(w, r, v);
  }
  if (steering_)
    if (Vessel *v = w.find(steering_->vessel)) steer(w, *v, *steering_);
}

void Pilot::fire(World &w, const Rule &r, Vessel *v) {
  const Action &a = r.action;
  w.record().record(v && needsVessel(a.kind) ? v->name : "", EventKind::pilot,
                    "line " + std::to_string(r.line) + ": " + r.text);
  if (v && needsVessel(a.kind)) takeFocus(w, *v);
  switch (a.kind) {
    case Action::Kind::key:
      w.cockpit().pressKey(v, a.key, true, a.held);
      break;
    case Action::Kind::input:
      holdInputs(w, a.inputs);
      break;
    case Action::Kind::steer:
      steering_ = ActiveSteering{v->name, a.steering, w.flightTime(), static_cast<size_t>(&r - program_.rules.data())};
      break;
    case Action::Kind::steerOff:
      holdInputs(w, {});
      break;
    case Action::Kind::throttle:
      v->iface->SetThrusterGroupLevel(a.group, a.level);
      break;
    case Action::Kind::rcs:
      v->iface->SetAttitudeMode(a.rcsMode);
      break;
    case Action::Kind::timeWarp:
      w.timeAcceleration = a.factor;
      break;
    case Action::Kind::end:
      endRule_ = &r;
      break;
  }
}

// A person lets go of the controls to switch vessels: the inputs are released
// and the attitude hold of the vessel left ends.
void Pilot::takeFocus(World &w, Vessel &v) {
  if (w.find(w.focusVessel) == &v) return;
  holdInputs(w, {});
  w.cockpit().setFocus(&v);
}

// Taking the inputs by hand ends the attitude hold.
void Pilot::holdInputs(World &w, const std::vector<std::pair<THGROUP_TYPE, double>> &inputs) {
  steering_.reset();
  Cockpit &c = w.cockpit();
  std::fill(std::begin(c.input), std::end(c.input), 0.0);
  for (const auto &[type, level] : inputs) c.input[type] = level;
}

// Only what the pitch program reads is read.
void Pilot::steer(World &w, Vessel &v, const ActiveSteering &s) const {
  const physics::PlanetPose pose = w.planetPose();
  const Horizon h = horizonAt(v.pos, pose.axis());
  const PitchProgram &p = s.steering.pitch;
  double pitch = 0;  // [rad]
  switch (p.source) {
    case PitchProgram::Source::fixed:
      pitch = p.points.front().second;
      break;
    case PitchProgram::Source::time:
      pitch = programPitch(p, w.flightTime() - s.since);
      break;
    case PitchProgram::Source::altitude:
      pitch = programPitch(p, altitudeOf(v, w.planet));
      break;
    case PitchProgram::Source::prograde: {
      // At rest the air gives no direction: keep the nose where it is.
      const VECTOR3 air = airVelocityOf(v, pose);
      const double airspeed = length(air);  // [m/s]
      pitch = airspeed > 1 ? flightPathAngleOf(air, airspeed, h) : pitchOf(v.rot, h);
      break;
    }
  }
  const Mat3 wanted = frameFor(pitch, s.steering.heading, h);
  holdLevels(attitudeError(v.rot, wanted), v.omega, s.steering.hold, w.cockpit().input);
}

}  // namespace pilot
}  // namespace sim
