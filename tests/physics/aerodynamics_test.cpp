#include "sim/physics/aerodynamics.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sim/physics/dynamics.h"
#include "sim/world/vessel.h"
#include "tests/support/tree.h"

using namespace sim;

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
