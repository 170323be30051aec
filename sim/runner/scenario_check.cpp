#include "scenario_check.h"

#include <filesystem>

#include "../pilot/program.h"
#include "../scenario_parse.h"
#include "../world.h"
#include "manifest_check.h"

namespace sim {
namespace runner {
namespace {

const std::string kErrorMark = "ERROR ";

std::vector<std::string> hostProblems(const std::string &scenario) {
  World w(".");
  std::vector<std::string> out;
  if (!w.loadScenario(scenario)) out.push_back(scenario + ": cannot open the scenario");
  for (const std::string &line : w.log().lines())
    if (line.rfind(kErrorMark, 0) == 0) out.push_back(line.substr(kErrorMark.size()));
  return out;
}

// The host has already reported what is wrong with the file's blocks; its
// log here is only needed to get at the vessel lines.
std::vector<std::string> manifestProblems(const std::string &scenario) {
  Log quiet("");
  ScenarioData data;
  if (!parseScenario(scenario, quiet, data)) return {};
  std::vector<std::string> out;
  for (const VesselBlock &b : data.vessels)
    for (const std::string &p : checkManifest(scenario, b, std::filesystem::current_path().string())) out.push_back(p);
  return out;
}

}  // namespace

std::vector<std::string> checkScenario(const std::string &scenario, const std::string &pilotPath) {
  if (!std::filesystem::is_regular_file(scenario)) return {scenario + ": cannot open the scenario"};
  std::vector<std::string> problems = hostProblems(scenario);
  for (const std::string &p : manifestProblems(scenario)) problems.push_back(p);
  if (std::filesystem::exists(pilotPath)) pilot::readProgram(pilotPath, problems);
  return problems;
}

}  // namespace runner
}  // namespace sim
