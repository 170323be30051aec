// A flight carried on from its folder: what --out keeps beside final.scn
// (the pilot program as flown, and flight.state: the flight's clock and
// frame, what the person at the controls holds, the pilot's progress), read
// back by --resume together with the folder's events and telemetry.
#pragma once

#include <string>

#include "sim/pilot/pilot.h"
#include "sim/runner/reload.h"

namespace sim {
namespace runner {

extern const char kStateFile[];  // "flight.state"
extern const char kPilotFile[];  // "flight.pilot"

// Writes dir/flight.state, and dir/flight.pilot as a copy of pilotPath when
// there is a pilot. Throws when a file cannot be written.
void writeFlightState(const std::string &dir, const World &w, double sample, const pilot::Pilot *pilot,
                      const std::string &pilotPath);

struct Resumed {
  std::string scenario, pilot;  // dir/final.scn; dir/flight.pilot, or empty when flown without
  std::string pilotName;        // the program's file as the flight named it first
  double sample = 1;            // the telemetry's interval [s]
  Carried carried;              // with the events of dir/events.csv
  pilot::Pilot::Progress progress;
  std::string telemetryRows;  // of dir/telemetry.csv, without its header
};
// Throws std::runtime_error naming the file and line of what cannot be read.
Resumed readFlightState(const std::string &dir);

}  // namespace runner
}  // namespace sim
