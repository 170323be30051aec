#include "vessel_report.h"

namespace sim {
namespace runner {

const ReportedGroup kReportedGroups[3] = {
    {THGROUP_MAIN, "main_level"}, {THGROUP_RETRO, "retro_level"}, {THGROUP_HOVER, "hover_level"}};

const char *statusWord(const Vessel &v) { return v.crashed ? "crashed" : v.landed ? "landed" : "flight"; }

}  // namespace runner
}  // namespace sim
