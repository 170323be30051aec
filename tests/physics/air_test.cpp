// The air: the standard atmosphere, airspeed against air that turns with the
// planet, and drag on a vessel's sides and on its spin.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/physics/aerodynamics.h"
#include "sim/physics/atmosphere.h"
#include "sim/physics/dynamics.h"
#include "sim/world/vessel.h"
#include "tests/support/tree.h"

using namespace sim;
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
  Vessel v;
  const double lat = 60 * M_PI / 180, r = earth.radius + 1000;
  v.pos = _V(r * std::cos(lat) * std::cos(2.0), r * std::sin(lat), r * std::cos(lat) * std::sin(2.0));
  v.vel = surfaceVelocity(earth, v.pos);
  EXPECT_NEAR(airspeed(v, earth), 0, 1e-12);
  v.vel = _V(0, 0, 0);  // still in space: the air sweeps past eastwards
  EXPECT_NEAR(airspeed(v, earth), 2 * M_PI * r * std::cos(lat) / earth.siderealDay, 1e-9);
  v.vel = surfaceVelocity(earth, v.pos) + unit(v.pos) * 30;
  EXPECT_NEAR(airspeed(v, earth), 30, 1e-9);
}

namespace {

Vessel rocketShape() {
  Vessel v;
  v.size = 2;
  v.pmi = _V(3, 3, 0.5);
  v.cwZPos = 0.1;
  v.cwZNeg = 0.3;
  v.cwX = 1.4;
  v.cwY = 1.2;
  v.crossSections = _V(40, 50, 8);
  v.rotDrag = _V(0.7, 0.7, 0.1);
  return v;
}

}  // namespace

TEST(drag, uses_the_coefficient_of_the_side_the_air_comes_from) {
  const Vessel v = rocketShape();
  const double rho = 0.5, mass = 2000, speed = 100;  // [kg/m^3], [kg], [m/s]
  const double q = 0.5 * rho * speed * speed;        // [Pa]
  struct Case {
    VECTOR3 motion;  // unit direction of motion, vessel frame (global frame = vessel frame here)
    double area;     // 1/2 cs cw of that side [m^2]
  };
  const Case cases[] = {{_V(0, 0, 1), 0.5 * 8 * 0.1},
                        {_V(0, 0, -1), 0.5 * 8 * 0.3},
                        {_V(-1, 0, 0), 0.5 * 40 * 1.4},
                        {_V(0, 1, 0), 0.5 * 50 * 1.2}};
  for (const Case &c : cases) {
    const VECTOR3 a = physics::dragPerMass(v, rho, mass, c.motion * speed, c.motion * speed);
    EXPECT_NEAR(length(a + c.motion * (q * c.area / mass)), 0, 1e-12) << c.area;
  }
  const VECTOR3 slant = unit(_V(0, 3, 4));  // weighs both sides by their share of the flow
  const VECTOR3 a = physics::dragPerMass(v, rho, mass, slant * speed, slant * speed);
  EXPECT_NEAR(dotp(a, slant), -q * (0.5 * 50 * 1.2 * 0.6 + 0.5 * 8 * 0.1 * 0.8) / mass, 1e-12);
}

TEST(drag, air_damps_a_spin_exponentially_at_size_rho_rotdrag_over_inertia) {
  const Vessel v = rocketShape();
  physics::Motion m{kDeepSpace, _V(0, 0, 0), Mat3::identity(), _V(0, 0, 1.5)};
  physics::StepLoads loads;
  loads.mass = 1000;
  loads.density = 1.225;
  for (int n = 0; n < 500; ++n) physics::integrate(m, v, loads, physics::Planet(), 0.02);
  const double rate = v.size * loads.density * v.rotDrag.z / v.pmi.z;  // [1/s]
  EXPECT_NEAR(m.omega.z / (1.5 * std::exp(-rate * 10)), 1, 1e-8);
}
