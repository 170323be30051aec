// The `varnell` program: parses the command line, runs the command and turns
// every failure into a message on stderr. Returns the exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sim {
namespace runner {

int programMain(int argc, char **argv);
// The same for the arguments after the program's name, printing on out and
// err; terminal: out is a terminal, which may show a progress line.
int runProgram(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool terminal);

}  // namespace runner
}  // namespace sim
