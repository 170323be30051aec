#include "sim/runner/record/summary.h"

#include <cmath>
#include <ctime>
#include <fstream>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "sim/physics/planet/orbit.h"
#include "sim/pilot/instruments.h"
#include "sim/runner/record/vessel_report.h"

namespace sim {
namespace runner {
namespace {

using Json = nlohmann::ordered_json;

// The clock is a sum of steps: 5 s may come out as 4.999999999999981. Times
// are given to the nanosecond, which shows them as they were meant.
double clockTime(double t) { return std::round(t * 1e9) / 1e9; }

Json number(double x) { return std::isfinite(x) ? Json(x) : Json(nullptr); }

Json eventJson(const Event &e) {
  return {{"t", clockTime(e.t)}, {"vessel", e.vessel}, {"kind", eventKindName(e.kind)}, {"detail", e.detail}};
}

// The orbit a vessel made in flight started on, from the status it was made
// with; false for a scenario's own vessels and those made landed.
bool creationOrbit(const World &w, const Vessel &v, physics::Orbit &orbit) {
  if (v.createdAt < 0 || v.givenStatus.status == 1) return false;
  const VESSELSTATUS &s = v.givenStatus;
  orbit = physics::orbitOf(w.planet, s.rpos, s.rvel, w.planet.poseAt(w.planetTimeAt(v.createdAt)).axis());
  return true;
}

Json vesselJson(const World &w, const Vessel &v) {
  const pilot::Instruments in = pilot::readInstruments(v, w.planet, w.planetPose());
  Json tanks = Json::array();
  for (const Tank &t : v.tanks) tanks.push_back(number(t.mass));
  const bool made = v.createdAt >= 0;
  Place born;
  const bool placed = creationPlace(w, v, born);
  physics::Orbit start;
  const bool orbiting = creationOrbit(w, v, start);
  const auto atStart = [orbiting](double x) { return orbiting ? number(x) : Json(nullptr); };
  return {{"name", v.name},
          {"class", v.className},
          {"created_t", made ? Json(clockTime(w.flownBefore + v.createdAt)) : Json(nullptr)},
          {"created_by", made ? Json(v.createdBy) : Json(nullptr)},
          {"created_lat_deg", placed ? number(born.latitude) : Json(nullptr)},
          {"created_lng_deg", placed ? number(born.longitude) : Json(nullptr)},
          {"created_alt_m", placed ? number(born.altitude) : Json(nullptr)},
          {"created_periapsis_alt_m", atStart(start.periapsisAlt)},
          {"created_apoapsis_alt_m", start.bound ? atStart(start.apoapsisAlt) : Json(nullptr)},
          {"created_eccentricity", atStart(start.eccentricity)},
          {"created_inclination_deg", atStart(start.inclination * kDegPerRad)},
          {"created_period_s", atStart(start.period)},
          {"status", statusWord(v)},
          {"mass_kg", number(in.mass)},
          {"altitude_m", number(in.altitude)},
          {"speed_m_s", number(in.speed)},
          {"airspeed_m_s", number(in.airspeed)},
          {"periapsis_alt_m", number(in.orbit.periapsisAlt)},
          {"apoapsis_alt_m", in.orbit.bound ? number(in.orbit.apoapsisAlt) : Json(nullptr)},
          {"semi_major_axis_m", number(in.orbit.semiMajorAxis)},
          {"eccentricity", number(in.orbit.eccentricity)},
          {"inclination_deg", number(in.orbit.inclination * kDegPerRad)},
          {"period_s", number(in.orbit.period)},
          {"propellant_kg", tanks}};
}

Json expectationJson(const pilot::Expectation &e, const ExpectationResult &r) {
  return {{"line", e.line}, {"text", e.text}, {"met", r.met}, {"reached", r.reached}, {"found", r.found}};
}

// When the flight was flown, as ISO 8601 in UTC: 2025-03-01T14:05:09Z.
std::string utcNow() {
  const std::time_t now = std::time(nullptr);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&now));
  return text;
}

std::string text(const Json &j) { return j.dump(-1, ' ', false, Json::error_handler_t::replace); }

// One member to a line, and one event, vessel or expectation to a line: a long
// record stays readable and diffable.
std::string layout(const Json &summary) {
  std::string out = "{";
  for (auto member = summary.begin(); member != summary.end(); ++member) {
    out += (member == summary.begin() ? "\n  " : ",\n  ") + text(member.key()) + ": ";
    if (!member->is_array() || member->empty()) {
      out += text(*member);
      continue;
    }
    out += "[";
    for (size_t i = 0; i < member->size(); ++i) out += (i ? ",\n    " : "\n    ") + text((*member)[i]);
    out += "\n  ]";
  }
  return out + "\n}\n";
}

}  // namespace

std::string summaryJson(const World &w, const SummaryHeader &h, const FlightResult &r, const Verdict &v) {
  Json events = Json::array(), vessels = Json::array(), expectations = Json::array();
  for (const Event &e : w.record().events()) events.push_back(eventJson(e));
  for (const Vessel *vessel : w.vessels()) vessels.push_back(vesselJson(w, *vessel));
  for (size_t i = 0; i < v.expectations.size() && i < v.results.size(); ++i)
    expectations.push_back(expectationJson(v.expectations[i], v.results[i]));
  const Json summary = {{"scenario", h.scenario},    {"pilot", h.pilot.empty() ? Json(nullptr) : Json(h.pilot)},
                        {"outcome", h.outcome},      {"sim_time_s", clockTime(w.flightTime())},
                        {"wall_time_s", r.wallTime}, {"steps", r.steps},
                        {"ended_by", r.endedBy},     {"log_errors", w.log().errorCount()},
                        {"date", utcNow()},          {"events", events},
                        {"vessels", vessels},        {"expectations", expectations}};
  return layout(summary);
}

void writeSummary(const std::string &path, const World &w, const SummaryHeader &h, const FlightResult &r,
                  const Verdict &v) {
  std::ofstream f(path);
  if (!f || !(f << summaryJson(w, h, r, v))) throw std::runtime_error("cannot write " + path);
}

}  // namespace runner
}  // namespace sim
