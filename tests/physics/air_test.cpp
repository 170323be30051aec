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

// Above 86 km: the mean density of the simulator's upper air per km, as
// sim/physics/earth_upper_air.txt gives it, log-interpolated between the rows
// and falling on above 1000 km as over the last km up to the simulator's
// cut-off at 2500 km, above which there is no air; the 86 km temperature held.
TEST(standard_atmosphere, follows_the_upper_air_table_above_86_km) {
  const struct {
    double km, density;  // [kg/m^3]
  } rows[] = {{100, 5.57323e-7},  {150, 2.05698e-9},  {200, 2.65219e-10}, {300, 2.16385e-11},
              {400, 3.38082e-12}, {600, 1.42890e-13}, {1000, 2.96386e-15}};
  for (const auto &row : rows) {
    const AirState air = airAt(row.km * 1e3);
    EXPECT_NEAR(air.density / row.density, 1, 5e-3) << row.km;
    EXPECT_NEAR(air.temperature, 186.946, 1e-3) << row.km;
    EXPECT_NEAR(air.pressure / (air.density * 287.053 * 186.946), 1, 1e-5) << row.km;
    EXPECT_NEAR(airAtGeopotential(geopotentialAltitude(row.km * 1e3)).density / air.density, 1, 1e-9) << row.km;
  }
  // Half way from 250 to 251 km: the geometric mean of the two rows.
  EXPECT_NEAR(airAt(250.5e3).density / std::sqrt(6.60573e-11 * 6.44729e-11), 1, 1e-6);
  // 100 km above the table: the last km's ratio (999 to 1000 km) a hundred times over.
  EXPECT_NEAR(airAt(1100e3).density / (2.96386e-15 * std::pow(2.96386e-15 / 2.97848e-15, 100)), 1, 1e-6);
  EXPECT_NEAR(airAt(2500e3).density / (2.96386e-15 * std::pow(2.96386e-15 / 2.97848e-15, 1500)), 1, 1e-6);
  const AirState above = airAt(2500.001e3);
  EXPECT_EQ(above.density, 0);
  EXPECT_EQ(above.pressure, 0);
  EXPECT_EQ(above.temperature, 0);
}

TEST(standard_atmosphere, thins_out_steadily_from_80_km_up_without_a_jump) {
  for (const double alt : {-6356766.0, -1e12, 1e12, HUGE_VAL}) {
    const AirState air = airAt(alt);
    EXPECT_TRUE(std::isfinite(air.density) && std::isfinite(air.pressure) && std::isfinite(air.temperature)) << alt;
    EXPECT_GE(air.density, 0) << alt;
  }
  EXPECT_EQ(airAt(1e12).density, 0);
  // Each 10 m from 80 to 95 km (the standard atmosphere meets the table at 86 km)
  // the density falls, by less than 1 %; then each 700 m up to 2400 km it falls on.
  double last = airAt(80e3).density;
  for (double alt = 80.01e3; alt <= 2400e3; alt += alt < 95e3 ? 10 : 700) {
    const double rho = airAt(alt).density;
    ASSERT_LT(rho, last) << alt;
    ASSERT_GT(rho, alt < 95e3 ? 0.99 * last : 0) << alt;
    last = rho;
  }
}

TEST(airspeed, is_measured_against_air_turning_with_the_planet) {
  const Planet earth;
  const double t = 3.7e8;  // planet time [s], some twelve years on
  Vessel v;
  const double lat = 60 * M_PI / 180, r = earth.radius + 1000;
  const VECTOR3 east = earth.poseAt(t).rot * _V(-std::sin(2.0), 0, std::cos(2.0));
  v.pos =
      earth.poseAt(t).rot * _V(r * std::cos(lat) * std::cos(2.0), r * std::sin(lat), r * std::cos(lat) * std::sin(2.0));
  v.vel = surfaceVelocity(earth, v.pos, t);
  EXPECT_NEAR(airspeed(v, earth, t), 0, 1e-12);
  // Still in space, the air sweeps past eastwards (the precession of the axis adds 1e-7 of it).
  v.vel = _V(0, 0, 0);
  EXPECT_NEAR(airspeed(v, earth, t), 2 * M_PI * r * std::cos(lat) / earth.siderealDay, 1e-4);
  EXPECT_NEAR(dotp(surfaceVelocity(earth, v.pos, t), east), 2 * M_PI * r * std::cos(lat) / earth.siderealDay, 1e-4);
  v.vel = surfaceVelocity(earth, v.pos, t) + unit(v.pos) * 30;
  EXPECT_NEAR(airspeed(v, earth, t), 30, 1e-9);
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

// Along z only the +z coefficient counts, backwards too, as in the simulator's
// Vessel::UpdateAerodynamicForces_OLD (vd_forw from CWz[0] in Vessel::Setup).
TEST(drag, weighs_each_axis_by_its_coefficient_the_forward_one_along_z_either_way) {
  const Vessel v = rocketShape();
  const double rho = 0.5, mass = 2000, speed = 100;  // [kg/m^3], [kg], [m/s]
  const double q = 0.5 * rho * speed * speed;        // [Pa]
  // The unit direction of motion in the vessel's frame (the global frame here), and 1/2 cs cw of that axis [m^2].
  const std::pair<VECTOR3, double> cases[] = {{_V(0, 0, 1), 0.5 * 8 * 0.1},
                                              {_V(0, 0, -1), 0.5 * 8 * 0.1},
                                              {_V(-1, 0, 0), 0.5 * 40 * 1.4},
                                              {_V(0, 1, 0), 0.5 * 50 * 1.2}};
  for (const auto &[motion, area] : cases) {
    const VECTOR3 a = physics::dragPerMass(v, rho, mass, motion * speed, motion * speed);
    EXPECT_NEAR(length(a + motion * (q * area / mass)), 0, 1e-12) << area;
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

// The pitch and bank moment scales turn the nose into the airflow, about x and
// about y respectively, as Vessel::UpdateAerodynamicForces_OLD applies them.
TEST(drag, moment_scales_turn_the_nose_into_the_airflow_each_about_its_own_axis) {
  const double tilt = 0.2, c = std::cos(tilt), s = std::sin(tilt);  // of the nose off the flight path [rad]
  const Mat3 noseUp{{{1, 0, 0}, {0, c, s}, {0, -s, c}}}, noseRight{{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}};
  const struct {
    const char *what;
    Mat3 rot;
    double pitchScale, bankScale;
    bool turns;
  } cases[] = {{"nose up, pitch scale", noseUp, 1e-3, 0, true},
               {"nose right, pitch scale", noseRight, 1e-3, 0, false},
               {"nose right, bank scale", noseRight, 0, 1e-3, true}};
  for (const auto &k : cases) {
    Vessel v = rocketShape();
    v.pitchMomentScale = k.pitchScale;
    v.bankMomentScale = k.bankScale;
    physics::Motion m{kDeepSpace, _V(0, 0, 100), k.rot, _V(0, 0, 0)};
    physics::StepLoads loads;
    loads.mass = 1000;
    loads.density = 0.5;
    for (int n = 0; n < 25; ++n) physics::integrate(m, v, loads, physics::Planet(), 0.02);
    const double offPath = std::acos(m.rot.column(2).z);  // nose off the path it started on [rad]
    if (k.turns)
      EXPECT_LT(offPath, tilt - 0.01) << k.what;
    else
      EXPECT_NEAR(offPath, tilt, 1e-9) << k.what;
  }
}
