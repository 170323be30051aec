// The flight record written while flying: events.csv, every event as it is
// recorded, and telemetry.csv, one row per vessel at each sample time, with
// the columns of telemetry_columns.h.
#pragma once

#include <fstream>
#include <string>

#include "sim/world/world.h"

namespace sim {
namespace runner {

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string &s);

class FlightFiles {
 public:
  // Opens both files in the folder dir (which must exist); throws when it cannot.
  explicit FlightFiles(const std::string &dir);
  void event(const Event &e);
  void sample(const World &w);  // a row for every vessel, at the world's time
  // The record of the flight so far, for a flight carried on from its folder:
  // its events, and its telemetry's rows as they were written.
  void continueFrom(const std::vector<Event> &events, const std::string &telemetryRows);

 private:
  std::ofstream events_, telemetry_;
};

}  // namespace runner
}  // namespace sim
