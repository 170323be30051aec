// What the flight runner reports of a vessel, shared by the terminal table,
// the telemetry and the summary.
#pragma once

#include "sim/world/world.h"

namespace sim {
namespace runner {

// "flight", "landed" or "crashed".
const char *statusWord(const Vessel &v);

constexpr double kDegPerRad = 180 / M_PI;  // [deg/rad]

// Where a vessel made in flight came into the world: latitude and longitude of
// the point below [deg] and altitude [m]. False for a scenario's own vessels.
struct Place {
  double latitude = 0, longitude = 0, altitude = 0;
};
bool creationPlace(const World &w, const Vessel &v, Place &place);

}  // namespace runner
}  // namespace sim
