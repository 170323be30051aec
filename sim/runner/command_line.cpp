#include "command_line.h"

#include <cmath>
#include <cstdio>

#include "../text.h"

namespace sim {
namespace runner {

const char kUsage[] =
    "Usage: varnell fly [SCENARIO] [--pilot FILE] [--until SECONDS] [--dt SECONDS] [--out DIR] [--root DIR]\n"
    "       varnell check SCENARIO [--root DIR]\n"
    "       varnell report DIR\n"
    "       varnell --help\n"
    "\n"
    "fly    flies SCENARIO (default Scenarios/Varnell/Launch.scn) under its pilot program, prints\n"
    "       the events as they happen and, at the end, a table of every vessel with its status,\n"
    "       altitude [km], speed [m/s], mass [kg], periapsis and apoapsis altitudes [km] and the\n"
    "       contents of its tanks [kg]; then checks the pilot program's expect lines, with exit\n"
    "       status 1 when one is not met.\n"
    "check  reads SCENARIO, its class files, meshes and manifest lines (PAYLOAD, STAGE, ENDSTAGE)\n"
    "       and the pilot program beside it, and lists every problem as FILE:LINE: message,\n"
    "       without flying. Exit status 1 when there is a problem.\n"
    "report writes DIR/report.html anew from the flight record in DIR (what fly --out wrote).\n"
    "\n"
    "SCENARIO and FILE: a relative path is taken from the current folder if the file is there,\n"
    "       else from the root.\n"
    "--pilot FILE      the pilot program (see sim/pilot/README.md); default: the file beside the\n"
    "                  scenario with the same name and the extension .pilot, if there is one;\n"
    "                  without one the flight runs with no one at the controls.\n"
    "--until SECONDS   stop at this simulation time [s]. Default 600 s; with a pilot program that\n"
    "                  has an end rule, the run ends there (at 86400 s at the latest).\n"
    "--dt SECONDS      the fixed simulation step [s], default 0.02.\n"
    "--out DIR         write events.csv, telemetry.csv (per vessel, one row per simulated second),\n"
    "                  summary.json, final.scn (the whole scenario at the end) and report.html\n"
    "                  (the flight in charts and tables, one file that any browser opens offline)\n"
    "                  into DIR, which is created if needed.\n"
    "--root DIR        the simulator's folder tree (Config/, Meshes/, Modules/, Scenarios/);\n"
    "                  default ../root beside the folder of this program. The host runs inside it\n"
    "                  and writes its log there as Varnell.log.\n"
    "--help            this text.\n";

namespace {

class Args {
 public:
  explicit Args(const std::vector<std::string> &a) : a_(a) {}
  bool done() const { return next_ == a_.size(); }
  const std::string &take() { return a_[next_++]; }
  std::string value(const std::string &option) {
    if (done()) throw UsageError(option + " needs a value");
    return take();
  }
  double seconds(const std::string &option, double min) {
    const std::string v = value(option);
    double x;
    if (!toNumber(v, x) || !std::isfinite(x) || x < min) {
      char text[160];
      std::snprintf(text, sizeof text, "%s needs a number of seconds of at least %g, not \"%s\"", option.c_str(), min,
                    v.c_str());
      throw UsageError(text);
    }
    return x;
  }

 private:
  const std::vector<std::string> &a_;
  size_t next_ = 0;
};

bool isOption(const std::string &a) { return a.rfind("--", 0) == 0; }

FlyOptions flyOptions(Args &args) {
  FlyOptions o;
  bool scenarioGiven = false;
  while (!args.done()) {
    const std::string a = args.take();
    if (a == "--pilot")
      o.pilot = args.value(a);
    else if (a == "--until")
      o.until = args.seconds(a, 0);
    else if (a == "--dt")
      o.dt = args.seconds(a, 1e-6);
    else if (a == "--out")
      o.outDir = args.value(a);
    else if (a == "--root")
      o.root = args.value(a);
    else if (isOption(a) || scenarioGiven)
      throw UsageError("unexpected argument \"" + a + "\"");
    else {
      o.scenario = a;
      scenarioGiven = true;
    }
  }
  return o;
}

CheckOptions checkOptions(Args &args) {
  CheckOptions o;
  while (!args.done()) {
    const std::string a = args.take();
    if (a == "--root")
      o.root = args.value(a);
    else if (isOption(a) || !o.scenario.empty())
      throw UsageError("unexpected argument \"" + a + "\"");
    else
      o.scenario = a;
  }
  if (o.scenario.empty()) throw UsageError("check needs a scenario");
  return o;
}

}  // namespace

Command parseCommandLine(const std::vector<std::string> &argv) {
  Command c;
  for (const std::string &a : argv)
    if (a == "--help" || a == "-h") return c;
  if (argv.empty()) throw UsageError("a command is needed");
  Args args(argv);
  const std::string command = args.take();
  if (command == "fly") {
    c.kind = Command::Kind::fly;
    c.fly = flyOptions(args);
  } else if (command == "check") {
    c.kind = Command::Kind::check;
    c.check = checkOptions(args);
  } else if (command == "report") {
    c.kind = Command::Kind::report;
    while (!args.done()) {
      const std::string a = args.take();
      if (isOption(a) || !c.report.dir.empty()) throw UsageError("unexpected argument \"" + a + "\"");
      c.report.dir = a;
    }
    if (c.report.dir.empty()) throw UsageError("report needs a flight folder");
  } else {
    throw UsageError("unknown command \"" + command + "\"");
  }
  return c;
}

}  // namespace runner
}  // namespace sim
