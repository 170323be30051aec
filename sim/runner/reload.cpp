#include "sim/runner/reload.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "sim/runner/record/vessel_report.h"

namespace sim {
namespace runner {
namespace {

std::string format(const char *pattern, double value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

// Quietly: a NaN on either side is a difference, without the invalid flag.
bool apart(double a, double b, double limit) { return !std::islessequal(std::fabs(a - b), limit); }

std::string eventText(const Event &e) {
  return format("%.4f s ", e.t) + (e.vessel.empty() ? "" : e.vessel + " ") + eventKindName(e.kind) + " \"" + e.detail +
         "\"";
}

std::string differentEvents(const std::vector<Event> &expected, const std::vector<Event> &actual, double tol) {
  for (size_t i = 0; i < std::min(expected.size(), actual.size()); ++i) {
    const Event &a = expected[i], &b = actual[i];
    if (a.vessel != b.vessel || a.kind != b.kind || a.detail != b.detail || apart(a.t, b.t, tol))
      return "event " + std::to_string(i + 1) + ": " + eventText(b) + " instead of " + eventText(a);
  }
  if (expected.size() > actual.size()) return "event " + eventText(expected[actual.size()]) + " missing";
  if (actual.size() > expected.size()) return "event " + eventText(actual[expected.size()]) + " not in the other";
  return "";
}

// Entry by entry over the longer list: an entry one side lacks reads as
// missing [kg, or a level], or is passed over when that is NaN.
std::string differentLists(const std::string &what, const std::vector<double> &a, const std::vector<double> &b,
                           double tol, const char *unit, double missing) {
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    const bool both = i < a.size() && i < b.size();
    if (!both && std::isnan(missing)) continue;
    const double x = i < a.size() ? a[i] : missing, y = i < b.size() ? b[i] : missing;
    if (apart(x, y, tol))
      return what + " " + std::to_string(i) + ": " + (i < b.size() ? format("%.9g", y) : "none") + " instead of " +
             (i < a.size() ? format("%.9g", x) : "none") + unit;
  }
  return "";
}

std::string differentVessel(const VesselState &a, const VesselState &b, const Tolerance &tol) {
  if (a.status != b.status) return "status " + b.status + " instead of " + a.status;
  const double dp = length(a.pos - b.pos), dv = length(a.vel - b.vel);
  if (apart(dp, 0, tol.position)) return format("position %.6g m apart", dp);
  if (apart(dv, 0, tol.velocity)) return format("velocity %.6g m/s apart", dv);
  if (apart(a.mass, b.mass, tol.mass)) return format("mass %.9g kg", b.mass) + format(" instead of %.9g", a.mass);
  // A load builds a vessel as its class and module define it: a tank or a
  // thruster that another vessel's module gave it is gone, as in the
  // simulator. What that changes of the flight shows in its motion and mass:
  // a tank gone counts as empty, a thruster gone is not compared.
  const std::string d = differentLists("tank", a.tanks, b.tanks, tol.mass, " kg", 0);
  return d.empty() ? differentLists("thruster level", a.levels, b.levels, tol.level, "", NAN) : d;
}

}  // namespace

Carried carriedFrom(const World &w) {
  Carried c;
  c.flightTime = w.flightTime();
  c.mjd = w.mjd;
  c.dt = w.dt;
  c.timeAcceleration = w.timeAcceleration;
  std::copy(std::begin(w.cockpit().input), std::end(w.cockpit().input), c.input);
  c.events = w.record().events();
  return c;
}

void carryInto(World &w, const Carried &c) {
  w.flownBefore = c.flightTime;
  w.mjd = c.mjd;
  w.dateCarried = true;
  w.dt = c.dt;
  w.timeAcceleration = c.timeAcceleration;
  std::copy(std::begin(c.input), std::end(c.input), w.cockpit().input);
  w.record().carryOver(c.events);
}

void markCrashed(World &w) {
  for (const Event &e : w.record().events())
    if (e.kind == EventKind::crashed)
      for (Vessel *v : w.vessels())
        if (v->name == e.vessel) v->crashed = true;
}

std::unique_ptr<World> reloaded(std::unique_ptr<World> w, const std::string &logPath) {
  const std::string text = w->scenarioText(), root = w->root();
  const Carried carried = carriedFrom(*w);
  w.reset();  // its modules' vessels destroyed, its modules unloaded: only the text and the carried go on
  auto fresh = std::make_unique<World>(root, logPath, true);
  carryInto(*fresh, carried);
  fresh->loadScenarioText(format("(the scenario saved at %.2f s)", carried.flightTime), text);
  markCrashed(*fresh);
  return fresh;
}

Checkpoint checkpointOf(const World &w) {
  Checkpoint c{w.flightTime(), {}, w.record().events()};
  for (const Vessel *v : w.vessels()) {
    VesselState s{v->name, statusWord(*v), v->pos, v->vel, v->mass(), {}, {}};
    for (const Tank &t : v->tanks) s.tanks.push_back(t.mass);
    for (const Thruster &t : v->thrusters) s.levels.push_back(t.level);
    c.vessels.push_back(std::move(s));
  }
  return c;
}

// Vessels pair up by their place in the world, which a save and a load keep,
// and else by name (vessels may share a name, as released fairing halves do).
std::string firstDifference(const Checkpoint &expected, const Checkpoint &actual, const Tolerance &tol) {
  for (size_t i = 0; i < expected.vessels.size(); ++i) {
    const VesselState &a = expected.vessels[i];
    const auto b = i < actual.vessels.size() && actual.vessels[i].name == a.name
                       ? actual.vessels.begin() + static_cast<long>(i)
                       : std::find_if(actual.vessels.begin(), actual.vessels.end(),
                                      [&a](const VesselState &s) { return s.name == a.name; });
    if (b == actual.vessels.end()) return a.name + " is missing";
    const std::string d = differentVessel(a, *b, tol);
    if (!d.empty()) return a.name + " " + d;
  }
  for (const VesselState &b : actual.vessels)
    if (std::none_of(expected.vessels.begin(), expected.vessels.end(),
                     [&b](const VesselState &s) { return s.name == b.name; }))
      return b.name + " exists only here";
  return differentEvents(expected.events, actual.events, tol.time);
}

}  // namespace runner
}  // namespace sim
