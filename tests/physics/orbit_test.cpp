#include <gtest/gtest.h>

#include <cmath>

#include "sim/physics/planet/planet.h"
#include "sim/physics/planet/orbit.h"
#include "tests/support/tree.h"

using namespace sim;

// Elements of states whose orbits are known by construction: at perigee,
// with the velocity tilted by the inclination out of the equator's plane.
// The frame is left-handed: the planet turns +x towards +z, so east at +x is +z.
TEST(orbit, semi_major_axis_eccentricity_and_inclination_of_known_orbits) {
  const physics::Planet earth;
  const double rp = earth.radius + 200e3;  // [m]
  struct Case {
    double incl;  // [deg]
    double e;
  } cases[] = {{0, 0}, {28.5, 0.01}, {90, 0.2}, {135, 0.5}, {180, 0}, {51.6, 1.5}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.incl);
    const double v = std::sqrt(earth.gm * (1 + c.e) / rp), i = c.incl * M_PI / 180;  // vis-viva at perigee
    const physics::Orbit o = physics::orbitOf(earth, _V(rp, 0, 0), _V(0, v * std::sin(i), v * std::cos(i)));
    EXPECT_NEAR(o.eccentricity, c.e, 1e-12);
    EXPECT_NEAR(o.inclination * 180 / M_PI, c.incl, 1e-9);
    EXPECT_NEAR(o.semiMajorAxis, rp / (1 - c.e), 1e-6 * rp);  // negative beyond e = 1
    EXPECT_NEAR(o.periapsisAlt, 200e3, 1e-3);
    EXPECT_EQ(o.bound, c.e < 1);
    if (!o.bound) {
      EXPECT_TRUE(std::isinf(o.period));
      continue;
    }
    EXPECT_NEAR(o.apoapsisAlt, rp * (1 + c.e) / (1 - c.e) - earth.radius, 1e-6 * rp);
    EXPECT_NEAR(o.period, 2 * M_PI * std::sqrt(std::pow(rp / (1 - c.e), 3) / earth.gm), 1e-6);
  }
}

TEST(orbit, coasting_vessel_keeps_its_energy_and_two_body_period_over_ten_orbits) {
  ScratchWorld w(kBareProbe);
  const physics::Planet &earth = w->planet;
  const double r = earth.radius + 300e3, vc = std::sqrt(earth.gm / r), incl = 0.9;  // [m], [m/s], [rad]
  const VECTOR3 along = _V(0, std::sin(incl), std::cos(incl));
  Vessel *v = flying(*w, "probe", _V(r, 0, 0), along * vc);
  auto energy = [&] { return dotp(v->vel, v->vel) / 2 - earth.gm / length(v->pos); };
  const double e0 = energy(), period = 2 * M_PI * std::sqrt(r * r * r / earth.gm);
  double worst = 0, lastAngle = 0, tenth = 0;
  int laps = 0;
  while (laps < 10) {
    w->step();
    worst = std::max(worst, std::fabs(energy() / e0 - 1));
    const double angle = std::atan2(dotp(v->pos, along), v->pos.x);
    if (lastAngle < 0 && angle >= 0) {  // back across the starting point
      ++laps;
      tenth = w->simTime() - w->dt * angle / (angle - lastAngle);
    }
    lastAngle = angle;
  }
  EXPECT_LT(worst, 1e-9);
  EXPECT_NEAR(tenth / 10 / period, 1, 1e-6);
}
