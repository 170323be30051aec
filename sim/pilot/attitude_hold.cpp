#include "sim/pilot/attitude_hold.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace pilot {
namespace {

// The input that turns the vessel each way about an axis.
struct AxisInputs {
  THGROUP_TYPE positive, negative;
};
const AxisInputs kInputs[3] = {{THGROUP_ATT_PITCHUP, THGROUP_ATT_PITCHDOWN},
                               {THGROUP_ATT_YAWLEFT, THGROUP_ATT_YAWRIGHT},
                               {THGROUP_ATT_BANKRIGHT, THGROUP_ATT_BANKLEFT}};

// A half turn has no preferred sense; any axis the rotation keeps will do.
VECTOR3 halfTurnAxis(const Mat3 &e) {
  VECTOR3 best{};
  for (int c = 0; c < 3; ++c) {
    VECTOR3 col = e.column(c);
    col.data[c] += 1;  // a column of E + I, which is 2 n n^T for a half turn about n
    if (length(col) > length(best)) best = col;
  }
  return unit(best);
}

}  // namespace

// With dR/dt = R W and W r = r x w, a small turn E = R^T R* is I - [e]x in
// the usual cross-product matrix, so e is minus the axial vector of E.
VECTOR3 attitudeError(const Mat3 &rot, const Mat3 &wanted) {
  const Mat3 e = rot.transposed() * wanted;
  const VECTOR3 axial = _V(e.m[2][1] - e.m[1][2], e.m[0][2] - e.m[2][0], e.m[1][0] - e.m[0][1]) * 0.5;
  const double cosAngle = std::clamp((e.m[0][0] + e.m[1][1] + e.m[2][2] - 1) / 2, -1.0, 1.0);
  const double sinAngle = length(axial);
  const double angle = std::atan2(sinAngle, cosAngle);  // [rad]
  if (sinAngle < 1e-12) return cosAngle > 0 ? _V(0, 0, 0) : halfTurnAxis(e) * angle;
  return axial * (-angle / sinAngle);
}

void holdLevels(const VECTOR3 &error, const VECTOR3 &rates, const HoldSettings &s, double levels[15]) {
  for (int axis = 0; axis < 3; ++axis) {
    const AxisGains &g = s.gains[axis];
    const double deflection = g.kp * error.data[axis] - g.kd * rates.data[axis];  // [rad]
    const double level = std::min(1.0, std::pow(std::fabs(deflection) / s.fullDeflection[axis], 1 / s.exponent));
    levels[kInputs[axis].positive] = deflection > 0 ? level : 0;
    levels[kInputs[axis].negative] = deflection < 0 ? level : 0;
  }
}

}  // namespace pilot
}  // namespace sim
