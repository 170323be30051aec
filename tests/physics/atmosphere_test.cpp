#include "sim/physics/atmosphere.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sim/world/vessel.h"

using namespace sim::physics;

// US Standard Atmosphere 1976, at the base of each layer (geopotential altitude).
struct TableRow {
  double h;            // [m]
  double temperature;  // [K]
  double pressure;     // [Pa]
  double density;      // [kg/m^3]
};
const TableRow kTable[] = {{0, 288.15, 101325, 1.2250},          {11000, 216.65, 22632.1, 0.363918},
                           {20000, 216.65, 5474.89, 0.0880349},  {32000, 228.65, 868.019, 0.0132250},
                           {47000, 270.65, 110.906, 1.42753e-3}, {51000, 270.65, 66.9389, 8.61600e-4},
                           {71000, 214.65, 3.95642, 6.42110e-5}};

TEST(standard_atmosphere, matches_the_1976_table_at_every_layer_base) {
  for (const TableRow &row : kTable) {
    const AirState air = airAtGeopotential(row.h);
    EXPECT_NEAR(air.temperature, row.temperature, 0.01) << row.h;
    EXPECT_NEAR(air.pressure / row.pressure, 1, 1e-3) << row.h;
    EXPECT_NEAR(air.density / row.density, 1, 1e-3) << row.h;
  }
  EXPECT_NEAR(geopotentialAltitude(86000), 84852, 1);
}

TEST(standard_atmosphere, fades_smoothly_and_steadily_above_86_km) {
  const double top = geopotentialAltitude(86000), d = 1;  // [m]
  const AirState below = airAtGeopotential(top - d), at = airAtGeopotential(top), above = airAtGeopotential(top + d);
  EXPECT_NEAR(at.pressure / 0.3734, 1, 1e-3);
  const double slopeBelow = std::log(at.pressure / below.pressure), slopeAbove = std::log(above.pressure / at.pressure);
  EXPECT_NEAR(slopeAbove / slopeBelow, 1, 1e-3);
  double last = at.density;
  for (double alt = 90e3; alt <= 1000e3; alt += 10e3) {
    const double rho = airAt(alt).density;
    EXPECT_GT(rho, 0) << alt;
    EXPECT_LT(rho, last) << alt;
    last = rho;
  }
  EXPECT_LT(airAt(300e3).density, 1e-15);
}

TEST(airspeed, is_measured_against_air_turning_with_the_planet) {
  const Planet earth;
  sim::Vessel v;
  const double lat = 60 * M_PI / 180, r = earth.radius + 1000;
  v.pos = _V(r * std::cos(lat) * std::cos(2.0), r * std::sin(lat), r * std::cos(lat) * std::sin(2.0));
  v.vel = surfaceVelocity(earth, v.pos);
  EXPECT_NEAR(airspeed(v, earth), 0, 1e-12);
  v.vel = _V(0, 0, 0);  // still in space: the air sweeps past eastwards
  EXPECT_NEAR(airspeed(v, earth), 2 * M_PI * r * std::cos(lat) / earth.siderealDay, 1e-9);
  v.vel = surfaceVelocity(earth, v.pos) + unit(v.pos) * 30;
  EXPECT_NEAR(airspeed(v, earth), 30, 1e-9);
}
