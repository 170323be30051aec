// Tanks running dry. The host empties a tank without a word, but the person
// at the controls sees the engines that draw from it die: after each step the
// flight records a tank-dry event for every tank that held propellant before
// it and is empty now, when it feeds a main, retro or hover engine.
#pragma once

#include <vector>

#include "sim/world/world.h"

namespace sim {
namespace runner {

class DryTankWatch {
 public:
  // Records the events, detail "tank INDEX (GROUP, ...)", at the world's time.
  void afterStep(World &w);

 private:
  // The propellant of every tank at the last look [kg], in the order of the
  // vessels and their tanks, which a step seldom changes: a tank is found at
  // its place of the last look, or looked for; one not seen before held none.
  struct Held {
    Id tank;
    double kg;
  };
  std::vector<Held> held_, next_;
  double heldBefore(Id tank) const;  // found anywhere in held_; 0 if not there
};

}  // namespace runner
}  // namespace sim
