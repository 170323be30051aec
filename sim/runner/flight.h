// The run loop: steps the world under its pilot until the pilot ends the
// flight, the time limit comes or a vessel diverges, passing every event on
// as it is recorded and a telemetry sample at every sample time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sim/pilot/pilot.h"
#include "sim/runner/record/event_printer.h"
#include "sim/runner/record/flight_files.h"
#include "sim/runner/record/progress_line.h"
#include "sim/runner/reload.h"
#include "sim/world/world.h"

namespace sim {
namespace runner {

struct FlightResult {
  double wallTime = 0;  // [s]
  long steps = 0;
  std::string endedBy;  // why the flight ended, as the end event says
  bool diverged = false;
};

// Where a flight's record goes; files may be null.
struct FlightOutputs {
  EventPrinter &printer;
  ProgressLine &progress;
  FlightFiles *files = nullptr;
  double sampleInterval = 1;  // of the telemetry [s]
};

// Points of a flight at which the world is saved and loaded again (reload),
// or only looked at, for a flight flown straight through to compare with.
// That flight takes at those points what no save keeps to the last bit (its
// vessels' angles and tanks as the scenario gives them back), so that what
// tells the two apart is what a save left out, not the format's rounding,
// which a tumbling vessel that strikes the ground turns into centimetres.
struct ReloadPlan {
  std::vector<double> at;  // flight times [s], ascending
  bool reload = true;
  std::string logPath;                             // of the reloaded worlds; empty: in memory
  std::vector<Checkpoint> *checkpoints = nullptr;  // one at each time, before its reload, and one at the end
  int done = 0;                                    // reloads made
};

// pilot may be null: the world then flies with no one at the controls.
// Records the end event last. A reload replaces the world.
FlightResult fly(std::unique_ptr<World> &w, pilot::Pilot *pilot, double until, FlightOutputs out,
                 ReloadPlan *plan = nullptr);

}  // namespace runner
}  // namespace sim
