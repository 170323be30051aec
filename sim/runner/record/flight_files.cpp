#include "sim/runner/record/flight_files.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "sim/runner/record/telemetry_columns.h"
#include "sim/runner/record/vessel_report.h"

namespace sim {
namespace runner {
namespace {

std::ofstream openCsv(const std::string &path, const std::string &header) {
  std::ofstream f(path);
  if (!f) throw std::runtime_error("cannot write " + path);
  f << header << '\n';
  return f;
}

// A number that is not finite stays empty.
std::string fixed(double x, int decimals) {
  if (!std::isfinite(x)) return "";
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, x);
  return text;
}

std::string telemetryHeader() {
  std::string h = "t_s,vessel,status";
  for (const TelemetryColumn &c : telemetryColumns()) h += std::string(",") + c.name;
  return h;
}

}  // namespace

std::string csvField(const std::string &s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string out = "\"";
  for (const char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

FlightFiles::FlightFiles(const std::string &dir)
    : events_(openCsv(dir + "/events.csv", "t_s,vessel,kind,detail")),
      telemetry_(openCsv(dir + "/telemetry.csv", telemetryHeader())) {}

void FlightFiles::event(const Event &e) {
  events_ << fixed(e.t, 4) << ',' << csvField(e.vessel) << ',' << csvField(eventKindName(e.kind)) << ','
          << csvField(e.detail) << '\n';
}

void FlightFiles::continueFrom(const std::vector<Event> &events, const std::string &telemetryRows) {
  for (const Event &e : events) event(e);
  telemetry_ << telemetryRows;
}

void FlightFiles::sample(const World &w) {
  const std::vector<TelemetryColumn> &columns = telemetryColumns();
  for (const Vessel *v : w.vessels()) {
    const VesselSample s{*v, pilot::readInstruments(*v, w.planet, w.planetPose()), readFlight(*v, w)};
    telemetry_ << fixed(w.flightTime(), 4) << ',' << csvField(v->name) << ',' << statusWord(*v);
    for (const TelemetryColumn &c : columns) telemetry_ << ',' << fixed(c.read(s), c.decimals);
    telemetry_ << '\n';
  }
}

}  // namespace runner
}  // namespace sim
