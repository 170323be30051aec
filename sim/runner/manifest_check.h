// Checking the manifest lines of a scenario's vessel blocks (PAYLOAD, STAGE,
// ENDSTAGE, ENDCVE) as a carrier will read them: the nine fields of an entry,
// the mesh and the class file it names, and the nesting of stages. A carrier
// passes over a malformed line without a word, so this is where it shows.
#pragma once

#include <string>
#include <vector>

#include "../scenario_parse.h"

namespace sim {
namespace runner {

// Problems as "FILE:LINE: message". root is the simulator tree holding
// Meshes/ and Config/Vessels/; modules load from Modules/ of the current folder.
std::vector<std::string> checkManifest(const std::string &scenario, const VesselBlock &block, const std::string &root);

}  // namespace runner
}  // namespace sim
