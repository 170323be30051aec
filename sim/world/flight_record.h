// The flight record: what happened in the simulation, in the order it
// happened, for the flight runner's outputs and a pilot program's expectations.
#pragma once

#include <string>
#include <vector>

#include "host/OrbiterAPI.h"

namespace sim {

// Every kind of event the host and the flight runner record.
enum class EventKind {
  key,            // a buffered key reached a vessel: "B 0x30 down"
  liftoff,        // a vessel under thrust left the ground
  vesselCreated,  // "class" or "class by creator"
  vesselDeleted,  // its class
  tankDeleted,    // "tank N"
  tankDry,        // "tank N (groups it fed)"
  groupLevel,     // a thruster group's level changed: "MAIN 1"
  landed,         // lay still on the ground long enough to be landed: "at rest"
  crashed,        // reached the ground too fast for a landing: "at S m/s"
  touchdown,      // reached the ground: "at S m/s" relative to it
  diverged,       // its state left the range it can be flown in
  pilot,          // a pilot program's rule fired
  focus,          // the vessel took the keyboard: "from" the vessel that had it
  end,            // the flight ended, and why
};
// The kind as the record shows it ("vessel-created"), and back; false for a
// name that is no kind.
const char *eventKindName(EventKind kind);
bool eventKindByName(const std::string &name, EventKind &kind);

struct Event {
  double t = 0;        // simulation time [s]
  std::string vessel;  // the vessel it concerns; empty for the flight itself
  EventKind kind = EventKind::end;
  std::string detail;  // as people read it
  // Of a group-level event: the group and its new level [0..1].
  THGROUP_TYPE group = THGROUP_MAIN;
  double level = 0;
};

class FlightRecord {
 public:
  // Each event is stamped with the flight's time [s]: the simulation time
  // clock plus before, what the flight had flown before it.
  FlightRecord(const double &clock, const double &before) : clock_(clock), before_(before) {}

  void record(const std::string &vessel, EventKind kind, const std::string &detail);
  // A group's new level, its detail written as "MAIN 0.64" (three digits).
  void recordGroupLevel(const std::string &vessel, THGROUP_TYPE group, double level);
  const std::vector<Event> &events() const { return events_; }
  // The events of the flight so far, from the world it was loaded from: they
  // go before any this record holds.
  void carryOver(const std::vector<Event> &earlier) {
    events_.insert(events_.begin(), earlier.begin(), earlier.end());
    carried_ += earlier.size();
  }
  size_t carried() const { return carried_; }  // events carried over

 private:
  const double &clock_, &before_;
  std::vector<Event> events_;
  size_t carried_ = 0;
};

// A thruster group's name as the record shows it: "MAIN", "ATT_PITCHUP", "USER 17".
std::string groupName(THGROUP_TYPE group);

}  // namespace sim
