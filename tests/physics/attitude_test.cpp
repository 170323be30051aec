#include "sim/physics/planet/attitude.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sim/physics/planet/planet.h"
#include "tests/support/tree.h"

using namespace sim;
using physics::arotFromRot;
using physics::rotFromArot;

namespace {

void expectSameAxes(const Mat3 &a, const Mat3 &b) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(a.m[i][j], b.m[i][j], 1e-12) << i << "," << j;
}

}  // namespace

TEST(attitude_angles, give_back_the_angles_they_were_made_from) {
  for (double a = -3.1; a < 3.15; a += 0.7)
    for (double b = -1.5; b < 1.55; b += 0.5)
      for (double c = -3.1; c < 3.15; c += 0.9) {
        const Mat3 r = rotFromArot(_V(a, b, c));
        expectSameAxes(r.transposed() * r, Mat3::identity());
        const VECTOR3 back = arotFromRot(r);
        EXPECT_NEAR(back.x, a, 1e-12);
        EXPECT_NEAR(back.y, b, 1e-12);
        EXPECT_NEAR(back.z, c, 1e-12);
      }
}

TEST(rotation, torque_free_body_keeps_angular_momentum_and_energy_over_1000_s) {
  ScratchWorld w(kBareProbe);
  Vessel *v = flying(*w, "tumbler", kDeepSpace, _V(0, 0, 0), _V(0.3, -0.2, 0.25));
  const VECTOR3 i = v->pmi;
  auto momentum = [&] { return v->rot * _V(i.x * v->omega.x, i.y * v->omega.y, i.z * v->omega.z); };
  auto energy = [&] { return dotp(v->omega, _V(i.x * v->omega.x, i.y * v->omega.y, i.z * v->omega.z)) / 2; };
  const VECTOR3 l0 = momentum();
  const double e0 = energy();
  run(*w, 50000);
  EXPECT_LT(length(momentum() - l0) / length(l0), 1e-9);
  EXPECT_NEAR(energy() / e0, 1, 1e-9);
  EXPECT_GT(length(v->omega - _V(0.3, -0.2, 0.25)), 0.01);  // it did tumble
}
