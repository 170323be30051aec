// The separated-body state, shared by every body that leaves a vessel.
#include "separated_body.h"

VESSELSTATUS SeparatedBodyStatus(const VESSEL &from, const VECTOR3 &offset, const VECTOR3 &push) {
  VESSELSTATUS status;
  from.GetStatus(status);
  VECTOR3 globalPush;
  from.GlobalRot(push, globalPush);
  status.rvel += globalPush;
  from.Local2Rel(offset, status.rpos);
  return status;
}
