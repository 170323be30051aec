// Orbits: the elements of known states, a coast over ten of them, and a
// vessel placed from its elements.
#include "sim/physics/planet/orbit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "sim/physics/planet/planet.h"
#include "sim/world/world.h"
#include "tests/support/tree.h"

using namespace sim;

// Elements of states whose orbits are known by construction: at perigee,
// with the velocity tilted by the inclination out of the equator's plane, on
// a date when the planet's frame is turned and tilted against the global one.
// The planet's frame is left-handed: it turns +x towards +z, so east at +x is +z.
TEST(orbit, semi_major_axis_eccentricity_and_inclination_of_known_orbits) {
  const physics::Planet earth;
  const physics::PlanetPose pose = earth.poseAt(3.7e8);
  const double rp = earth.radius + 200e3;  // [m]
  // Inclination [deg], eccentricity.
  const std::pair<double, double> cases[] = {{0, 0}, {28.5, 0.01}, {90, 0.2}, {135, 0.5}, {180, 0}, {51.6, 1.5}};
  for (const auto &[incl, e] : cases) {
    SCOPED_TRACE(incl);
    const double v = std::sqrt(earth.gm * (1 + e) / rp), i = incl * M_PI / 180;  // vis-viva at perigee
    const physics::Orbit o = physics::orbitOf(earth, pose.rot * _V(rp, 0, 0),
                                              pose.rot * _V(0, v * std::sin(i), v * std::cos(i)), pose.axis());
    EXPECT_NEAR(o.eccentricity, e, 1e-12);
    EXPECT_NEAR(o.inclination * 180 / M_PI, incl, 1e-9);
    EXPECT_NEAR(o.semiMajorAxis, rp / (1 - e), 1e-6 * rp);  // negative beyond e = 1
    EXPECT_NEAR(o.periapsisAlt, 200e3, 1e-3);
    EXPECT_EQ(o.bound, e < 1);
    if (!o.bound) {
      EXPECT_TRUE(std::isinf(o.period));
      continue;
    }
    EXPECT_NEAR(o.apoapsisAlt, rp * (1 + e) / (1 - e) - earth.radius, 1e-6 * rp);
    EXPECT_NEAR(o.period, 2 * M_PI * std::sqrt(std::pow(rp / (1 - e), 3) / earth.gm), 1e-6);
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

// A vessel on ELEMENTS is where its mean anomaly puts it, as the simulator
// places it: on a very eccentric orbit too, on an open one, and before
// periapsis as after, Kepler's equation holds for the anomaly read back from
// the state: s = r.v / sqrt(GM |a|) is e sin E (closed, r = a (1 - e cos E),
// M = E - e sin E) or e sinh H (open, M = e sinh H - H).
TEST(orbit_elements, place_the_vessel_at_its_mean_anomaly_however_eccentric_the_orbit) {
  const physics::Planet earth;
  physics::Elements el;
  int misplaced = 0;
  for (const double e : {0.1, 0.9, 0.99, 1.5})
    for (int k = -100; k <= 100; ++k) {
      el.e = e, el.a = e < 1 ? 2e7 : -2e7, el.meanLongitude = k * M_PI / 100;
      VECTOR3 r, v;
      ASSERT_TRUE(physics::stateFromElements(earth, el, el.epoch, r, v));
      const double s = dotp(r, v) / std::sqrt(earth.gm * std::fabs(el.a));
      const double m = e < 1 ? std::atan2(s, 1 - length(r) / el.a) - s : s - std::asinh(s / e);
      misplaced += !(std::fabs(std::remainder(m - el.meanLongitude, 2 * M_PI)) < 1e-9);
    }
  EXPECT_EQ(misplaced, 0);
}
