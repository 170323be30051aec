// The commands of the varnell program: fly and check enter the simulator
// tree (the process's working folder changes to the root), as the simulator
// runs inside its own folder; report only reads and writes a flight folder.
#pragma once

#include <ostream>

#include "command_line.h"

namespace sim {
namespace runner {

// Exit status: 0 flown, 1 a pilot program that cannot be read. Throws when
// the scenario cannot be opened or an output cannot be written. terminal: out
// is a terminal, which may show a progress line.
int runFly(const FlyOptions &o, std::ostream &out, bool terminal);
// Exit status: 0 no problem found, 1 otherwise.
int runCheck(const CheckOptions &o, std::ostream &out);
// Writes DIR/report.html from the flight record in DIR. Exit status 0;
// throws, naming the file, when the record cannot be read.
int runReport(const ReportOptions &o, std::ostream &out);

}  // namespace runner
}  // namespace sim
