// The columns of telemetry.csv that follow a row's time, vessel and status, in
// the file's order: the header, every row and the steps the report keeps its
// numbers to are all made from this one table.
#pragma once

#include <vector>

#include "sim/pilot/instruments.h"
#include "sim/runner/record/flight_readings.h"

namespace sim {
namespace runner {

// What a row is read from: the vessel, read once for the row.
struct VesselSample {
  const Vessel &vessel;
  pilot::Instruments instruments;
  FlightReadings flight;
};

struct TelemetryColumn {
  const char *name;                       // as the header shows it, its unit in it
  int decimals;                           // written in the file
  double step;                            // the report's resolution, in the column's unit
  double (*read)(const VesselSample &s);  // not finite: the field stays empty
};

const std::vector<TelemetryColumn> &telemetryColumns();

}  // namespace runner
}  // namespace sim
