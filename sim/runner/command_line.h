// The varnell program's command line: what to do and with which files.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace sim {
namespace runner {

struct FlyOptions {
  std::string scenario = "Scenarios/Varnell/Launch.scn";  // relative: the current folder if there, else the root
  std::string pilot;    // empty: the file beside the scenario with the extension .pilot, if there is one
  double until = -1;    // simulation time to stop at [s]; < 0: the default
  double dt = 0.02;     // frame [s], kMinDt..kMaxDt
  double sample = 1;    // telemetry interval [s]
  std::string outDir;   // empty: no files
  std::string root;     // the simulator tree; empty: the program's default
  bool strict = false;  // a warning of the check is an error
  // Flight times [s] at which the world is saved and loaded again, and the
  // flight compared with the same flight flown straight through.
  std::vector<double> reloadAt;
  double reloadEvery = 0;  // [s]; 0: none
  std::string resume;      // a flight folder written by --out, to carry on from
};

struct CheckOptions {
  std::string scenario;
  std::string pilot;  // empty: the file beside the scenario, if there is one
  std::string root;
  bool strict = false;
};

struct ReportOptions {
  std::string dir;  // a flight folder written by fly --out
};

struct Command {
  enum class Kind { fly, check, report, help } kind = Kind::help;
  FlyOptions fly;
  CheckOptions check;
  ReportOptions report;
};

// A mistake on the command line, reported with the usage text.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

Command parseCommandLine(const std::vector<std::string> &args);
extern const char kUsage[];

// Without --until a flight stops here [s]; a pilot program with an end rule
// may fly on up to the longer limit.
constexpr double kDefaultUntil = 600;
constexpr double kPilotEndLimit = 86400;
// The frame at time acceleration 1: short enough for a launcher's steering to
// hold the stack (modules and the pilot act once per frame), and not so short
// that a flight crawls.
constexpr double kMinDt = 0.001, kMaxDt = 0.1;  // [s]

}  // namespace runner
}  // namespace sim
