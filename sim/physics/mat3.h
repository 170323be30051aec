// 3x3 matrices for attitudes: R maps vessel-frame vectors into the global frame.
#pragma once

#include "host/OrbiterAPI.h"

namespace sim {

struct Mat3 {
  double m[3][3];  // row-major

  static Mat3 identity() { return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}; }
  // Columns are the images of the vessel's x, y and z axes.
  static Mat3 fromColumns(const VECTOR3 &x, const VECTOR3 &y, const VECTOR3 &z) {
    return {{{x.x, y.x, z.x}, {x.y, y.y, z.y}, {x.z, y.z, z.z}}};
  }
  VECTOR3 column(int c) const { return _V(m[0][c], m[1][c], m[2][c]); }
  VECTOR3 operator*(const VECTOR3 &v) const {
    return _V(m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
              m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z);
  }
  Mat3 operator*(const Mat3 &b) const {
    Mat3 r{};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) r.m[i][j] = m[i][0] * b.m[0][j] + m[i][1] * b.m[1][j] + m[i][2] * b.m[2][j];
    return r;
  }
  Mat3 transposed() const {
    Mat3 r{};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) r.m[i][j] = m[j][i];
    return r;
  }
  // Global-frame vector into the vessel frame (R is orthonormal).
  VECTOR3 tmul(const VECTOR3 &v) const {
    return _V(m[0][0] * v.x + m[1][0] * v.y + m[2][0] * v.z, m[0][1] * v.x + m[1][1] * v.y + m[2][1] * v.z,
              m[0][2] * v.x + m[1][2] * v.y + m[2][2] * v.z);
  }
};

}  // namespace sim
