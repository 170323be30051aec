// The events on the terminal as they happen, one line each, with the
// simulation time and, from the first liftoff on, the mission elapsed time
// (T+ seconds since it). A group's level may be set at every step of a ramp,
// so those events are thinned: a level of 0 or 1 always shows, other levels
// of one vessel's group at most once per simulated second, the latest held
// back until then.
#pragma once

#include <cmath>
#include <map>
#include <ostream>
#include <string>

#include "sim/world/world.h"

namespace sim {
namespace runner {

class EventPrinter {
 public:
  explicit EventPrinter(std::ostream &out) : out_(out) {}
  void event(const Event &e);
  // Shows the held-back levels whose second has passed by time t [s].
  void catchUp(double t);
  void flush();                             // shows every held-back level
  int thinned() const { return thinned_; }  // group-level events not shown

  static const double kGroupLevelInterval;  // [s]

 private:
  struct GroupShown {
    double lastShown = -1e300;  // [s]
    bool pending = false;
    Event latest;
  };
  std::ostream &out_;
  std::map<std::string, GroupShown> groups_;  // by vessel and group name
  int thinned_ = 0;
  int pending_ = 0;       // groups with a level held back: catchUp, at every step, has nothing to do without one
  double liftoff_ = NAN;  // simulation time of the first liftoff [s]; NaN, tested with isnan, until there is one

  void show(const Event &e);
};

}  // namespace runner
}  // namespace sim
