// What can be known about a scenario without flying it. The scenario is loaded
// into a world of its own with its real modules, as a flight would load it, and
// the report is what the host's log says: class files, modules, meshes, state
// lines, and every line a module's reader turned away (a module has the only
// word on its own lines). On top of that, what spans files: the class of each
// manifest entry a module took in, lines that no reader took, and pilot rules
// for vessels that nothing will create.
#pragma once

#include <string>
#include <vector>

#include "sim/pilot/program.h"
#include "sim/world/world.h"

namespace sim {
namespace runner {

struct ScenarioReport {
  // "FILE:LINE: message". Errors stop a flight; warnings are what the
  // simulator would pass over (a line no reader took, a saved level for a
  // tank or thruster the vessel does not have).
  std::vector<std::string> errors, warnings;
};

// Runs inside the simulator tree (the current folder); the world's log goes
// to Varnell.log there. program may be null: no pilot program to check.
ScenarioReport checkScenario(const std::string &scenario, const pilot::Program *program);

// The same in two parts, for a flight that checks the world it will fly.
// A line the host's parser did not know, whose key the vessel's module does
// not write back and about which it said nothing: perhaps no one read it.
struct Unread {
  std::string vessel;
  ScenarioLine line;
};
struct LoadedCheck {
  ScenarioReport report;
  std::vector<Unread> unread;  // to confirm
  std::string saved;           // the world as it saved, just loaded
};
// What a world that has just loaded the scenario tells.
LoadedCheck checkLoaded(const World &w, const std::string &scenario, const pilot::Program *program);
// Loads the scenario without each line of c.unread, in a world of its own:
// call it when no other world is left. A line whose absence changes nothing
// saved becomes a warning.
void confirmUnread(const std::string &scenario, LoadedCheck &c);

}  // namespace runner
}  // namespace sim
