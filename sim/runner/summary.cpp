#include "summary.h"

#include <cmath>
#include <ctime>
#include <fstream>
#include <stdexcept>

#include "../pilot/instruments.h"
#include "json_text.h"
#include "vessel_report.h"

namespace sim {
namespace runner {
namespace {

// The clock is a sum of steps: 5 s may come out as 4.999999999999981. Times
// are given to the nanosecond, which shows them as they were meant.
double clockTime(double t) { return std::round(t * 1e9) / 1e9; }

std::string eventJson(const Event &e) {
  return JsonObject()
      .number("t", clockTime(e.t))
      .text("vessel", e.vessel)
      .text("kind", e.kind)
      .text("detail", e.detail)
      .str();
}

std::string vesselJson(const World &w, const Vessel &v) {
  const pilot::Instruments in = pilot::readInstruments(v, w.planet);
  std::vector<std::string> tanks;
  for (const Tank &t : v.tanks) tanks.push_back(jsonNumber(t.mass));
  JsonObject o;
  o.text("name", v.name).text("class", v.className);
  if (v.createdAt < 0)
    o.null("created_t").null("created_by");
  else
    o.number("created_t", clockTime(v.createdAt)).text("created_by", v.createdBy);
  Place born;
  if (creationPlace(w, v, born))
    o.number("created_lat_deg", born.latitude)
        .number("created_lng_deg", born.longitude)
        .number("created_alt_m", born.altitude);
  else
    o.null("created_lat_deg").null("created_lng_deg").null("created_alt_m");
  o.text("status", statusWord(v)).number("mass_kg", in.mass).number("altitude_m", in.altitude);
  o.number("speed_m_s", in.speed).number("airspeed_m_s", in.airspeed);
  o.number("periapsis_alt_m", in.orbit.periapsisAlt);
  if (in.orbit.bound)
    o.number("apoapsis_alt_m", in.orbit.apoapsisAlt);
  else
    o.null("apoapsis_alt_m");
  o.number("semi_major_axis_m", in.orbit.semiMajorAxis).number("eccentricity", in.orbit.eccentricity);
  o.number("inclination_deg", in.orbit.inclination * kDegPerRad).number("period_s", in.orbit.period);
  return o.raw("propellant_kg", jsonArray(tanks)).str();
}

// One event or vessel per line keeps a long record readable and diffable.
std::string lines(const std::vector<std::string> &items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? ",\n    " : "\n    ") + items[i];
  return out + (items.empty() ? "]" : "\n  ]");
}

// When the flight was flown, as ISO 8601 in UTC: 2025-03-01T14:05:09Z.
std::string utcNow() {
  const std::time_t now = std::time(nullptr);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", std::gmtime(&now));
  return text;
}

}  // namespace

std::string summaryJson(const World &w, const SummaryHeader &h, const FlightResult &r) {
  std::vector<std::string> events, vessels;
  for (const Event &e : w.events) events.push_back(eventJson(e));
  for (const Vessel *v : w.vessels()) vessels.push_back(vesselJson(w, *v));
  std::string out = "{\n";
  out += "  \"scenario\": " + jsonString(h.scenario) + ",\n";
  out += "  \"pilot\": " + (h.pilot.empty() ? std::string("null") : jsonString(h.pilot)) + ",\n";
  out += "  \"sim_time_s\": " + jsonNumber(clockTime(w.simTime())) + ",\n";
  out += "  \"wall_time_s\": " + jsonNumber(r.wallTime) + ",\n";
  out += "  \"steps\": " + std::to_string(r.steps) + ",\n";
  out += "  \"ended_by\": " + jsonString(r.endedBy) + ",\n";
  out += "  \"log_errors\": " + std::to_string(w.log().errorCount()) + ",\n";
  out += "  \"date\": " + jsonString(utcNow()) + ",\n";
  std::vector<std::string> expectations;
  for (const CheckedExpectation &e : h.expectations)
    expectations.push_back(JsonObject()
                               .number("line", e.line)
                               .text("text", e.text)
                               .raw("met", e.met ? "true" : "false")
                               .text("found", e.found)
                               .str());
  out += "  \"expectations\": " + lines(expectations) + ",\n";
  out += "  \"events\": " + lines(events) + ",\n";
  out += "  \"vessels\": " + lines(vessels) + "\n}\n";
  return out;
}

void writeSummary(const std::string &path, const World &w, const SummaryHeader &h, const FlightResult &r) {
  std::ofstream f(path);
  if (!f || !(f << summaryJson(w, h, r))) throw std::runtime_error("cannot write " + path);
}

}  // namespace runner
}  // namespace sim
