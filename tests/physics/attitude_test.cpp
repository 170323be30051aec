#include <gtest/gtest.h>

#include <cmath>

#include "sim/physics/planet/planet.h"
#include "sim/physics/planet/attitude.h"

using namespace sim;
using physics::arotFromRot;
using physics::rotFromArot;

namespace {

Mat3 turnAbout(int axis, double a) {  // right-handed turn of the global frame
  Mat3 m = Mat3::identity();
  const int i = (axis + 1) % 3, j = (axis + 2) % 3;
  m.m[i][i] = m.m[j][j] = std::cos(a);
  m.m[j][i] = std::sin(a);
  m.m[i][j] = -std::sin(a);
  return m;
}

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

// A released body's angles are computed by the module from three global axes;
// handed back in a status record they must give a vessel with those axes.
TEST(attitude_angles, read_off_any_attitude_rebuild_the_same_axes) {
  for (double a = 0.1; a < 6.3; a += 0.55)
    for (double b = -1.4; b < 1.5; b += 0.45) {
      const Mat3 r = turnAbout(1, a) * turnAbout(0, b) * turnAbout(2, 0.3 * a - b);
      const VECTOR3 gx = r.column(0), gy = r.column(1), gz = r.column(2);
      const VECTOR3 arot = _V(std::atan2(gz.y, gz.z), std::asin(-gz.x / length(gz)), std::atan2(gy.x, gx.x));
      expectSameAxes(rotFromArot(arot), r);
    }
}
