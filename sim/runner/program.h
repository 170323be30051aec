// The `varnell` program: parses the command line, runs the command and turns
// every failure into a message on stderr. Returns the exit status.
#pragma once

namespace sim {
namespace runner {

int programMain(int argc, char **argv);

}  // namespace runner
}  // namespace sim
