// A scenario file read into its blocks: description, environment, focus and the
// vessels with their lines. Every problem is logged with file and line, and
// reading goes on with what can still be read.
#pragma once

#include <string>
#include <vector>

#include "sim/world/log.h"

namespace sim {

// The longest line the simulator reads; longer ones are cut there.
constexpr size_t kMaxScenarioLine = 1023;  // [characters]

struct ScenarioLine {
  int number = 0;  // 1-based line in the file
  std::string text;
};

struct VesselBlock {
  std::string name;
  std::string className;
  int line = 0;                     // of the "Name:Class" line
  std::vector<ScenarioLine> lines;  // trimmed, without comments and blank lines
};

struct ScenarioData {
  std::string description;
  std::string system;
  bool dated = false;    // whether a Date line was read
  double mjd = 51544.5;  // [days]; J2000 when no date was given
  std::string focus;
  std::vector<VesselBlock> vessels;
};

// False only when the file cannot be opened.
bool parseScenario(const std::string &path, Log &log, ScenarioData &out);
// The same for a scenario held as text; name stands for its file in the log.
void parseScenarioText(const std::string &name, const std::string &text, Log &log, ScenarioData &out);

}  // namespace sim
