// Attitude angles of a status record and the axes they stand for.
#pragma once

#include "sim/physics/mat3.h"

namespace sim {
namespace physics {

// Attitude angles of a status record (arot) and the axes they stand for: the
// exact inverse of the angles (atan2(Z.y, Z.z), asin(-Z.x/|Z|), atan2(Y.x, X.x))
// of a vessel's global axes X, Y, Z. The axes are Rx(-a0) Ry(-a1) Rz(-a2) in
// right-handed matrix terms; angles come back in (-pi, pi], [-pi/2, pi/2], (-pi, pi].
Mat3 rotFromArot(const VECTOR3 &arot);
VECTOR3 arotFromRot(const Mat3 &rot);

}  // namespace physics
}  // namespace sim
