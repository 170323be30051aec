// The state a body leaving a vessel starts with: a booster, a fairing half or
// a released payload begins as a copy of the vessel's own status, placed where
// it sat on the vessel and pushed off it.
#pragma once

#include "Orbitersdk.h"

// The vessel's status with the position of the point at offset and the velocity
// plus push, both given in the vessel's frame ([m], [m/s]). Attitude, angular
// velocity and everything else stay the vessel's, for the caller to change.
VESSELSTATUS SeparatedBodyStatus(const VESSEL &from, const VECTOR3 &offset, const VECTOR3 &push);
