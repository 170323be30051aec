// Attitude angles of a status record and the rotation they stand for.
//
// The angles are read off the axes as a = atan2(Z.y, Z.z), b = asin(-Z.x),
// c = atan2(Y.x, X.x). The first row of Rx(-a) Ry(-b) Rz(-c) is
// (cos b cos c, cos b sin c, -sin b) and its third column is
// (-sin b, sin a cos b, cos a cos b), which give back exactly those angles.
#include "sim/physics/planet/attitude.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace physics {

Mat3 rotFromArot(const VECTOR3 &arot) {
  const double ca = std::cos(arot.x), sa = std::sin(arot.x);
  const double cb = std::cos(arot.y), sb = std::sin(arot.y);
  const double cc = std::cos(arot.z), sc = std::sin(arot.z);
  const Mat3 rx{{{1, 0, 0}, {0, ca, sa}, {0, -sa, ca}}};
  const Mat3 ry{{{cb, 0, -sb}, {0, 1, 0}, {sb, 0, cb}}};
  const Mat3 rz{{{cc, sc, 0}, {-sc, cc, 0}, {0, 0, 1}}};
  return rx * ry * rz;
}

VECTOR3 arotFromRot(const Mat3 &rot) {
  const VECTOR3 x = rot.column(0), y = rot.column(1), z = rot.column(2);
  const double sinb = std::clamp(-z.x / length(z), -1.0, 1.0);
  return _V(std::atan2(z.y, z.z), std::asin(sinb), std::atan2(y.x, x.x));
}

}  // namespace physics
}  // namespace sim
