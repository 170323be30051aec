// The table of every vessel printed at the end of a flight: state and orbit.
#pragma once

#include <ostream>

#include "sim/world/world.h"

namespace sim {
namespace runner {

void printVesselTable(const World &w, std::ostream &out);

}  // namespace runner
}  // namespace sim
