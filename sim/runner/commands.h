// The commands of the varnell program: fly and check enter the simulator
// tree (the process's working folder changes to the root), as the simulator
// runs inside its own folder; report only reads and writes a flight folder.
#pragma once

#include <ostream>

#include "sim/runner/command_line.h"

namespace sim {
namespace runner {

// The program's exit statuses, as --help lists them.
enum ExitStatus {
  kSuccess = 0,   // flown with every expectation met; checked without an error
  kNotMet = 1,    // flown, and an expectation was not met
  kBadUsage = 2,  // the command line is wrong
  kBadInput = 3,  // a scenario, class file, mesh or pilot program with errors, or a file that cannot be read or written
  kDiverged = 4,  // a vessel's state left the range it can be flown in; the flight stopped there
};

// out gets the record of the flight (events, the vessel table, the
// expectations); err the problems, each line beginning "varnell: ". A scenario
// or pilot program with errors is not flown. Throws when an output cannot be
// written. terminal: out is a terminal, which may show a progress line.
int runFly(const FlyOptions &o, std::ostream &out, std::ostream &err, bool terminal);
// The problems of a scenario and its pilot program on out, as FILE:LINE:
// message, errors first, then the warnings; kBadInput when there is an error.
int runCheck(const CheckOptions &o, std::ostream &out);
// Writes DIR/report.html from the flight record in DIR. Exit status 0;
// throws, naming the file, when the record cannot be read.
int runReport(const ReportOptions &o, std::ostream &out);

}  // namespace runner
}  // namespace sim
