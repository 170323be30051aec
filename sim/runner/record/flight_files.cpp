#include "sim/runner/record/flight_files.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "sim/pilot/instruments.h"
#include "sim/runner/record/flight_readings.h"
#include "sim/runner/record/vessel_report.h"

namespace sim {
namespace runner {
namespace {

using pilot::Attitude;

std::ofstream openCsv(const std::string &path, const std::string &header) {
  std::ofstream f(path);
  if (!f) throw std::runtime_error("cannot write " + path);
  f << header << '\n';
  return f;
}

// Fixed decimals: millimetres, milligrams, ten-thousandths of a degree. A
// number that is not finite (the semi-major axis of a parabola) stays empty.
std::string fixed(double x, int decimals) {
  if (!std::isfinite(x)) return "";
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, x);
  return text;
}

std::string telemetryHeader() {
  std::string h =
      "t_s,vessel,status,altitude_m,speed_m_s,airspeed_m_s,pitch_deg,heading_deg,bank_deg,mass_kg,"
      "apoapsis_alt_m,periapsis_alt_m";
  for (const ReportedGroup &g : kReportedGroups) h += std::string(",") + g.column;
  h += ",latitude_deg,longitude_deg,vertical_speed_m_s,dynamic_pressure_pa,axial_accel_g,thrust_n,"
       "semi_major_axis_m,eccentricity,inclination_deg";
  for (int i = 0; i < kTelemetryTanks; ++i) h += ",tank" + std::to_string(i) + "_kg";
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

// An unbound orbit has no apoapsis: its field stays empty.
void FlightFiles::sample(const World &w) {
  for (const Vessel *v : w.vessels()) {
    const pilot::Instruments in = pilot::readInstruments(*v, w.planet, w.planetPose());
    const Attitude &a = in.attitude;
    telemetry_ << fixed(w.flightTime(), 4) << ',' << csvField(v->name) << ',' << statusWord(*v) << ','
               << fixed(in.altitude, 3) << ',' << fixed(in.speed, 4) << ',' << fixed(in.airspeed, 4) << ','
               << fixed(a.pitch * kDegPerRad, 4) << ',' << fixed(a.heading * kDegPerRad, 4) << ','
               << fixed(a.bank * kDegPerRad, 4) << ',' << fixed(in.mass, 3) << ','
               << (in.orbit.bound ? fixed(in.orbit.apoapsisAlt, 1) : "") << ',' << fixed(in.orbit.periapsisAlt, 1);
    for (const ReportedGroup &g : kReportedGroups) telemetry_ << ',' << fixed(v->groupLevel(g.type), 6);
    const FlightReadings f = readFlight(*v, w);
    telemetry_ << ',' << fixed(f.latitude, 6) << ',' << fixed(f.longitude, 6) << ',' << fixed(f.verticalSpeed, 4) << ','
               << fixed(f.dynamicPressure, 2) << ',' << fixed(f.axialAcceleration, 5) << ',' << fixed(f.thrust, 1)
               << ',' << fixed(in.orbit.semiMajorAxis, 1) << ',' << fixed(in.orbit.eccentricity, 7) << ','
               << fixed(in.orbit.inclination * kDegPerRad, 5);
    for (int i = 0; i < kTelemetryTanks; ++i)
      telemetry_ << ',' << (i < static_cast<int>(v->tanks.size()) ? fixed(v->tanks[i].mass, 3) : "");
    telemetry_ << '\n';
  }
}

}  // namespace runner
}  // namespace sim
