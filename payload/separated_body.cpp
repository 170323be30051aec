// The separated-body state, shared by every body that leaves a vessel.
#include "separated_body.h"

#include <cmath>

namespace {

const int LANDED = 1;  // VESSELSTATUS::status of a vessel on the ground

}  // namespace

// A landed vessel's record holds its place on the ground instead of its
// motion: its altitude where the spin would be, its attitude against the
// planet. A body created from that would stand on the ground at the vessel's
// own spot, so the vessel's attitude and spin are taken from its frame.
VESSELSTATUS SeparatedBodyStatus(const VESSEL &from, const VECTOR3 &offset, const VECTOR3 &push) {
  VESSELSTATUS status;
  from.GetStatus(status);
  if (status.status == LANDED) {
    status.status = 0;
    status.arot = AttitudeOfAxes(from, {_V(1, 0, 0), _V(0, 1, 0), _V(0, 0, 1)});
    from.GetAngularVel(status.vrot);
  }
  VECTOR3 globalPush;
  from.GlobalRot(push, globalPush);
  status.rvel += globalPush;
  from.Local2Rel(offset, status.rpos);
  return status;
}

VECTOR3 AttitudeOfAxes(const VESSEL &from, const VECTOR3 (&axes)[3]) {
  VECTOR3 global[3];
  for (int i = 0; i < 3; ++i) from.GlobalRot(axes[i], global[i]);
  const VECTOR3 &x = global[0], &y = global[1], &z = global[2];
  return _V(std::atan2(z.y, z.z), std::asin(-z.x / length(z)), std::atan2(y.x, x.x));
}
