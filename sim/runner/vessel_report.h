// What the flight runner reports of a vessel, shared by the terminal table,
// the telemetry and the summary.
#pragma once

#include "../vessel.h"

namespace sim {
namespace runner {

// "flight", "landed" or "crashed".
const char *statusWord(const Vessel &v);

// The thrust groups whose levels the telemetry records, with their column names.
struct ReportedGroup {
  THGROUP_TYPE type;
  const char *column;
};
extern const ReportedGroup kReportedGroups[3];

constexpr double kDegPerRad = 180 / M_PI;  // [deg/rad]

}  // namespace runner
}  // namespace sim
