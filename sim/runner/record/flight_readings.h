// What the flight record reads off a vessel besides the pilot's instruments:
// where it is over the ground and how hard the air and its engines push.
#pragma once

#include "sim/world/world.h"

namespace sim {
namespace runner {

struct FlightReadings {
  double latitude = 0, longitude = 0;  // of the point below [deg], east positive
  double verticalSpeed = 0;            // up positive [m/s]
  double dynamicPressure = 0;          // of the air flowing past [Pa]
  double axialAcceleration = 0;        // what an accelerometer along the nose reads [g]
  double thrust = 0;                   // of all its engines together [N]
};

constexpr double kStandardGravity = 9.80665;  // [m/s^2]

FlightReadings readFlight(const Vessel &v, const World &w);

}  // namespace runner
}  // namespace sim
