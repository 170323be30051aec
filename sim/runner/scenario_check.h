// varnell check: everything that can be known about a scenario without
// flying it. The scenario is loaded into a world, whose log gathers what the
// host finds (class files, modules, meshes, state lines); the manifest lines
// and the pilot program beside the scenario are checked on top.
#pragma once

#include <string>
#include <vector>

namespace sim {
namespace runner {

// Runs inside the simulator tree (the current folder). pilotPath may name no
// file; then there is no program to check. Problems as "FILE:LINE: message".
std::vector<std::string> checkScenario(const std::string &scenario, const std::string &pilotPath);

}  // namespace runner
}  // namespace sim
