// Closed-loop attitude hold, the way a pilot flies it with the attitude
// inputs alone: a PD law on the attitude error and the body rates gives a
// wanted actuator deflection per axis, and the manual level that produces
// that deflection is found by inverting the vessel's level-to-deflection law.
//
// Axes, in the vessel frame, with a positive angular velocity component
// meaning: x pitch up, y yaw left (nose towards -x), z bank right.
#pragma once

#include "sim/world/vessel.h"

namespace sim {
namespace pilot {

enum Axis { kPitch, kYaw, kBank };

struct AxisGains {
  double kp = 0.15;  // deflection per attitude error [rad/rad]
  double kd = 0.4;   // deflection per body rate [rad per rad/s]
};

// The actuator as the vessel's module defines it: a manual level L deflects
// by fullDeflection * L^exponent. The default is the launcher's engine gimbal,
// 0.01 L^4 in pitch and yaw and 0.05 L^4 in bank; a vessel whose rotation
// thrusters the levels drive directly is exponent 1, full deflection 1.
struct HoldSettings {
  AxisGains gains[3];
  double exponent = 4;
  double fullDeflection[3] = {0.01, 0.01, 0.05};  // [rad] at level 1, per axis
};

// The rotation that turns the frame rot onto the frame wanted (both vessel ->
// global), as a rotation vector in the vessel frame [rad]: turning at an
// angular velocity along it closes the error.
VECTOR3 attitudeError(const Mat3 &rot, const Mat3 &wanted);

// Writes the six attitude levels of a manual-level array indexed by
// THGROUP_TYPE (ATT_PITCHUP .. ATT_BANKRIGHT), each 0..1, one of every
// opposite pair 0.
void holdLevels(const VECTOR3 &error, const VECTOR3 &rates, const HoldSettings &s, double levels[15]);

}  // namespace pilot
}  // namespace sim
