// Tanks running dry. The host empties a tank without a word, but the person
// at the controls sees the engines that draw from it die: after each step the
// flight records a tank-dry event for every tank that held propellant before
// it and is empty now, when it feeds a main, retro or hover engine.
#pragma once

#include <unordered_map>

#include "sim/world/world.h"

namespace sim {
namespace runner {

class DryTankWatch {
 public:
  // Records the events, detail "tank INDEX (GROUP, ...)", at the world's time.
  void afterStep(World &w);

 private:
  std::unordered_map<Id, double> held_;  // propellant by tank id at the last look [kg]
};

}  // namespace runner
}  // namespace sim
