#include "sim/runner/record/telemetry_columns.h"

#include <cmath>

#include "sim/runner/record/vessel_report.h"

namespace sim {
namespace runner {
namespace {

template <THGROUP_TYPE group>
double levelOf(const VesselSample &s) {
  return s.vessel.groupLevel(group);
}

// The tanks in their order of the moment: a tank deleted moves the later ones up.
template <size_t tank>
double propellantOf(const VesselSample &s) {
  return tank < s.vessel.tanks.size() ? s.vessel.tanks[tank].mass : NAN;
}

}  // namespace

// Millimetres, milligrams and ten-thousandths of a degree in the file; in the
// report what a chart or a table needs: a metre, a centimetre per second, a
// hundredth of a degree (a hundred-thousandth for latitude and longitude,
// about a metre).
const std::vector<TelemetryColumn> &telemetryColumns() {
  using S = const VesselSample &;
  static const std::vector<TelemetryColumn> columns = {
      {"altitude_m", 3, 1, [](S s) { return s.instruments.altitude; }},
      {"speed_m_s", 4, 0.01, [](S s) { return s.instruments.speed; }},
      {"airspeed_m_s", 4, 0.01, [](S s) { return s.instruments.airspeed; }},
      {"pitch_deg", 4, 0.01, [](S s) { return s.instruments.attitude.pitch * kDegPerRad; }},
      {"heading_deg", 4, 0.01, [](S s) { return s.instruments.attitude.heading * kDegPerRad; }},
      {"bank_deg", 4, 0.01, [](S s) { return s.instruments.attitude.bank * kDegPerRad; }},
      {"mass_kg", 3, 0.1, [](S s) { return s.instruments.mass; }},
      // An unbound orbit has no apoapsis.
      {"apoapsis_alt_m", 1, 1, [](S s) { return s.instruments.orbit.bound ? s.instruments.orbit.apoapsisAlt : NAN; }},
      {"periapsis_alt_m", 1, 1, [](S s) { return s.instruments.orbit.periapsisAlt; }},
      {"main_level", 6, 1e-4, levelOf<THGROUP_MAIN>},
      {"retro_level", 6, 1e-4, levelOf<THGROUP_RETRO>},
      {"hover_level", 6, 1e-4, levelOf<THGROUP_HOVER>},
      {"latitude_deg", 6, 1e-5, [](S s) { return s.flight.latitude; }},
      {"longitude_deg", 6, 1e-5, [](S s) { return s.flight.longitude; }},
      {"vertical_speed_m_s", 4, 0.01, [](S s) { return s.flight.verticalSpeed; }},
      {"dynamic_pressure_pa", 2, 1, [](S s) { return s.flight.dynamicPressure; }},
      {"axial_accel_g", 5, 1e-4, [](S s) { return s.flight.axialAcceleration; }},
      {"thrust_n", 1, 1, [](S s) { return s.flight.thrust; }},
      // The semi-major axis of a parabola is not finite.
      {"semi_major_axis_m", 1, 1, [](S s) { return s.instruments.orbit.semiMajorAxis; }},
      {"eccentricity", 7, 1e-6, [](S s) { return s.instruments.orbit.eccentricity; }},
      {"inclination_deg", 5, 1e-4, [](S s) { return s.instruments.orbit.inclination * kDegPerRad; }},
      {"tank0_kg", 3, 0.01, propellantOf<0>},
      {"tank1_kg", 3, 0.01, propellantOf<1>},
      {"tank2_kg", 3, 0.01, propellantOf<2>},
      {"tank3_kg", 3, 0.01, propellantOf<3>}};
  return columns;
}

}  // namespace runner
}  // namespace sim
