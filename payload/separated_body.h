// The state a body leaving a vessel starts with: a booster, a fairing half or
// a released payload begins as a copy of the vessel's own status, placed where
// it sat on the vessel and pushed off it.
#pragma once

#include "Orbitersdk.h"

// The vessel's status with the position of the point at offset and the velocity
// plus push, both given in the vessel's frame ([m], [m/s]). Attitude, angular
// velocity and everything else stay the vessel's, for the caller to change.
// The body is always in flight: one leaving a landed vessel starts where it
// sat, with the vessel's attitude and spin, and comes to rest by itself.
VESSELSTATUS SeparatedBodyStatus(const VESSEL &from, const VECTOR3 &offset, const VECTOR3 &push);

// The attitude angles [rad] of a body whose x, y and z axes are axes[0..2],
// given in the vessel's frame.
VECTOR3 AttitudeOfAxes(const VESSEL &from, const VECTOR3 (&axes)[3]);
