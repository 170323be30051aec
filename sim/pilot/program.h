// A pilot program: a small text file that stands in for the person at the
// keyboard. It is read into rules, each a trigger and an action on a vessel.
// The syntax, in full, is in pilot/README.md.
#pragma once

#include <string>
#include <vector>

#include "host/OrbiterAPI.h"
#include "sim/pilot/attitude_hold.h"
#include "sim/world/flight_record.h"

namespace sim {
namespace pilot {

// An instrument reading to compare with a value.
enum class Quantity { altitude, speed, airspeed, apoapsis, periapsis, mass, tank, inclination, eccentricity };

struct Condition {
  enum class Kind { time, exists, compare } kind = Kind::time;
  double time = 0;     // simulation time [s], for time
  std::string vessel;  // for exists
  Quantity quantity = Quantity::altitude;
  int tank = 0;          // tank index, for Quantity::tank
  bool above = true;     // '>' or '<'
  double threshold = 0;  // in the quantity's unit: [m], [m/s], [kg], [deg] or none (eccentricity)
};

// Where the wanted pitch comes from while steering.
struct PitchProgram {
  enum class Source { fixed, time, altitude, prograde } source = Source::fixed;
  // (time since the steer rule fired [s] or altitude [m], pitch [rad]),
  // ascending; interpolated linearly, held beyond the ends. One point for fixed.
  std::vector<std::pair<double, double>> points;
};

struct Steering {
  double heading = 0;  // [rad]
  PitchProgram pitch;
  HoldSettings hold;  // the gains and actuator in force at the steer line
};

constexpr double kMaxTimeAcceleration = 1000;  // what a timewarp may set

struct Action {
  enum class Kind { key, input, steer, steerOff, throttle, rcs, timeWarp, end } kind = Kind::end;
  DWORD key = 0;
  std::vector<DWORD> held;                              // modifier keys held with it
  std::vector<std::pair<THGROUP_TYPE, double>> inputs;  // attitude inputs to hold, 0..1; empty: release all
  THGROUP_TYPE group = THGROUP_MAIN;                    // for throttle
  double level = 0;                                     // throttle level, 0..1
  int rcsMode = RCS_ROT;                                // for rcs
  double factor = 1;                                    // time acceleration
  Steering steering;
};

struct Rule {
  int line = 0;
  std::string text;     // the line as written, for the record
  std::string vessel;   // empty: the scenario's focus vessel
  bool repeat = false;  // "whenever": fires again each time its condition comes true anew
  Condition condition;
  Action action;
};

// A check of the flight's outcome, made when the flight has ended: a
// vessel's instrument reading or status, or an event and when it came.
struct Expectation {
  enum class Kind { reading, status, event } kind = Kind::reading;
  int line = 0;
  std::string text;    // the line as written, for the report
  std::string vessel;  // the vessel it concerns, by name
  Condition reading;   // for reading: a comparison
  std::string status;  // for status: flight, landed or crashed
  // For event: the first event of the vessel of this kind whose detail
  // begins with detailPrefix, at or after the event of `after` if given.
  EventKind eventKind = EventKind::end;
  std::string detailPrefix;
  std::string label;  // what a later "after" calls it: its "as" name, else the vessel's
  int after = -1;     // index of an earlier event expectation; -1: none
  enum class Timing { any, at, by } timing = Timing::any;
  double time = 0;         // at: simulation time; by: seconds after the earlier event [s]
  double tolerance = 0.5;  // [s]
};

struct Program {
  std::string file;
  std::vector<Rule> rules;
  std::vector<Expectation> expectations;
  bool hasEnd() const;
};

// Reads a program; each problem is added to errors as "FILE:LINE: message".
// The program holds the rules that could be read.
Program readProgram(const std::string &path, std::vector<std::string> &errors);
Program parseProgram(const std::string &file, const std::string &text, std::vector<std::string> &errors);

// Keyboard codes by name: letters, digits, SPACE, or a number such as 0x30.
bool keyCode(const std::string &name, DWORD &code);

}  // namespace pilot
}  // namespace sim
