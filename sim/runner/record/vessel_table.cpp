#include "sim/runner/record/vessel_table.h"

#include <cstdio>
#include <string>

#include "sim/pilot/instruments.h"
#include "sim/runner/record/vessel_report.h"

namespace sim {
namespace runner {
namespace {

const char kHeader[] =
    "vessel        class                     status    altitude [km]  speed [m/s]  mass [kg]  "
    "periapsis [km]  apoapsis [km]  propellant [kg]";

std::string kilometres(double m) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", m / 1000);
  return text;
}

std::string propellant(const Vessel &v) {
  std::string out;
  for (const Tank &t : v.tanks) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%.1f", out.empty() ? "" : " ", t.mass);
    out += text;
  }
  return out.empty() ? "-" : out;
}

}  // namespace

void printVesselTable(const World &w, std::ostream &out) {
  out << kHeader << '\n';
  for (const Vessel *v : w.vessels()) {
    const pilot::Instruments in = pilot::readInstruments(*v, w.planet, w.planetPose());
    char row[512];
    std::snprintf(row, sizeof row, "%-12s  %-24s  %-8s  %13s  %11.1f  %9.1f  %14s  %13s  %s", v->name.c_str(),
                  v->className.c_str(), statusWord(*v), kilometres(in.altitude).c_str(), in.speed, in.mass,
                  kilometres(in.orbit.periapsisAlt).c_str(),
                  in.orbit.bound ? kilometres(in.orbit.apoapsisAlt).c_str() : "unbound", propellant(*v).c_str());
    out << row << '\n';
  }
}

}  // namespace runner
}  // namespace sim
