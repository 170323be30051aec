#include "sim/runner/command_line.h"

#include <cmath>
#include <cstdio>

#include "sim/formats/text.h"

namespace sim {
namespace runner {

const char kUsage[] =
    "Usage: varnell fly [SCENARIO] [--pilot FILE] [--until SECONDS] [--dt SECONDS] [--sample SECONDS]\n"
    "                  [--out DIR] [--root DIR] [--strict] [--reload-every SECONDS] [--reload-at T1,T2,...]\n"
    "       varnell fly --resume DIR [--until SECONDS] [--out DIR] [--root DIR] [--strict] [--reload-...]\n"
    "       varnell check SCENARIO [--pilot FILE] [--root DIR] [--strict]\n"
    "       varnell report DIR\n"
    "       varnell --help\n"
    "\n"
    "fly    flies SCENARIO (default Scenarios/Varnell/Launch.scn) under its pilot program, prints\n"
    "       the events as they happen and, at the end, a table of every vessel with its status,\n"
    "       altitude [km], speed [m/s], mass [kg], periapsis and apoapsis altitudes [km] and the\n"
    "       contents of its tanks [kg]; then checks the pilot program's expect lines. It first\n"
    "       checks the scenario and the pilot program as check does, and flies nothing if there is\n"
    "       an error; warnings are printed and the flight goes on. A vessel whose state leaves the\n"
    "       range it can be flown in (1e15 m from the planet's centre, the speed of light, 1e4 rad/s)\n"
    "       ends the flight with a diverged event.\n"
    "check  loads SCENARIO with its modules, class files and meshes, as fly would, reads the\n"
    "       pilot program, and lists every error and warning as FILE:LINE: message, without\n"
    "       flying. Errors: what the host or a module's own reader (manifest lines) turns away,\n"
    "       a manifest entry whose class will not load. Warnings: a line no reader takes, a saved\n"
    "       level for a tank or thruster the vessel lacks, a pilot rule for a vessel that neither\n"
    "       the scenario nor a manifest holds, a manifest entry whose mass is more than 1 kg from\n"
    "       what its class weighs at release (the class file's Mass and the entry's fuel fraction\n"
    "       of its MaxFuel; a class without Mass is weighed by its module, and not checked).\n"
    "report writes DIR/report.html anew from the flight record in DIR (what fly --out wrote).\n"
    "\n"
    "SCENARIO and FILE: a relative path is taken from the current folder if the file is there,\n"
    "       else from the root; a file in neither is an error naming both paths.\n"
    "--pilot FILE      the pilot program (see sim/pilot/README.md); default: the file beside the\n"
    "                  scenario with the same name and the extension .pilot, if there is one;\n"
    "                  without one the flight runs with no one at the controls.\n"
    "--until SECONDS   stop at this simulation time [s]. Stopped before its pilot program's end rule,\n"
    "                  an expectation still to come (an event due later, any reading of the end)\n"
    "                  is not reached, which is no failure. Default: 600 s; with a pilot program\n"
    "                  that has an end rule, the run ends there: at its time, however late, or on\n"
    "                  its condition, at 86400 s at the latest, said when it stops the flight.\n"
    "--dt SECONDS      the frame [s] at time acceleration 1, from 0.001 to 0.1, default 0.02: the\n"
    "                  modules and the pilot act once per frame; a time acceleration F makes each\n"
    "                  frame F times as long. The host integrates every frame in sub-steps as\n"
    "                  short as each vessel's spin, air and orbit need.\n"
    "--sample SECONDS  the telemetry's interval [s], at least 0.001, default 1: one row per vessel\n"
    "                  at the first frame that ends at or after each multiple of it.\n"
    "--out DIR         write events.csv, telemetry.csv, summary.json (with each expectation and\n"
    "                  what was found), final.scn (the whole scenario at the end), report.html\n"
    "                  (the flight in charts and tables, one file that any browser opens offline)\n"
    "                  and Varnell.log (the host's log) into DIR, which is created if needed and\n"
    "                  written to before the flight; the last line printed names report.html;\n"
    "                  and flight.pilot and flight.state, to carry the flight on with --resume.\n"
    "--root DIR        the simulator's folder tree (Config/, Meshes/, Modules/, Scenarios/);\n"
    "                  default ../root beside the folder of this program. The host runs inside it\n"
    "                  and writes its log there as Varnell.log.\n"
    "--reload-every SECONDS, --reload-at T1,T2,...\n"
    "                  flies the flight twice: once straight through, unseen, and once with the\n"
    "                  whole world saved as scenario text at each of those flight times, torn down\n"
    "                  as at the end of a simulation and loaded again in a fresh world, the pilot\n"
    "                  carrying on. The two are compared vessel by vessel (existence, status,\n"
    "                  position, velocity, mass, tanks, thruster levels) and event by event at each\n"
    "                  reload and at the end; the first difference beyond 1 mm, 1 um/s, 1 g is\n"
    "                  printed with the reload after which it appeared, and the exit status is 1.\n"
    "--resume DIR      carries on a flight from its folder DIR, written by --out: its final.scn,\n"
    "                  the pilot program as flown (flight.pilot) and flight.state (the flight's\n"
    "                  time, frame, time acceleration, the inputs held and how far the pilot has\n"
    "                  come). The clock, the events and the telemetry go on from where it stopped;\n"
    "                  --out gets the whole flight's record, and the expectations are judged on\n"
    "                  the whole flight.\n"
    "--strict          every warning of the check is an error: nothing is flown, check exits 3.\n"
    "--help            this text.\n"
    "\n"
    "Exit status: 0 flown with every expectation met (or, stopped by --until, none failed), or\n"
    "               checked without an error;\n"
    "             1 flown, and an expectation was not met;\n"
    "             2 bad usage: the command line is wrong;\n"
    "             3 bad input: the scenario, a class file, a mesh or the pilot program has errors\n"
    "               (or warnings, with --strict), or a file cannot be read or written;\n"
    "             4 diverged: a vessel's state left the range it can be flown in, and the flight\n"
    "               stopped there.\n"
    "Errors go to standard error, each line beginning with \"varnell: \".\n"
    "Environment: VARNELL_FP_TRAPS=1 stops the program at the first invalid floating-point\n"
    "             operation, division by zero or overflow (glibc builds only), as the tests run it.\n";

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
  // Without a max there is no upper limit: HUGE_VAL, a constant, raises no fault.
  double seconds(const std::string &option, double min, double max = HUGE_VAL) {
    const std::string v = value(option);
    double x;
    if (!toNumber(v, x) || x < min || x > max) {
      char range[64];
      if (max < HUGE_VAL)
        std::snprintf(range, sizeof range, "from %g to %g", min, max);
      else
        std::snprintf(range, sizeof range, "of at least %g", min);
      throw UsageError(option + " needs a number of seconds " + range + ", not \"" + v + "\"");
    }
    return x;
  }

  // A list of times [s], "T1,T2,...", each at least 0.
  std::vector<double> times(const std::string &option) {
    const std::string v = value(option);
    std::vector<double> out;
    size_t from = 0;
    for (size_t comma = 0; comma != std::string::npos; from = comma + 1) {
      comma = v.find(',', from);
      double x;
      const std::string item = v.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
      if (!toNumber(item, x) || x < 0)
        throw UsageError(option + " needs times of at least 0 s, separated by commas, not \"" + item + "\" in \"" + v +
                         "\"");
      out.push_back(x);
    }
    return out;
  }

 private:
  const std::vector<std::string> &a_;
  size_t next_ = 0;
};

bool isOption(const std::string &a) { return a.rfind("--", 0) == 0; }

FlyOptions flyOptions(Args &args) {
  FlyOptions o;
  bool scenarioGiven = false;
  std::string fromFolder;  // an option that --resume takes from the flight's folder
  while (!args.done()) {
    const std::string a = args.take();
    if (a == "--pilot" || a == "--dt" || a == "--sample") fromFolder = a;
    if (a == "--pilot")
      o.pilot = args.value(a);
    else if (a == "--until")
      o.until = args.seconds(a, 0);
    else if (a == "--dt")
      o.dt = args.seconds(a, kMinDt, kMaxDt);
    else if (a == "--sample")
      o.sample = args.seconds(a, 1e-3);
    else if (a == "--out")
      o.outDir = args.value(a);
    else if (a == "--root")
      o.root = args.value(a);
    else if (a == "--strict")
      o.strict = true;
    else if (a == "--reload-every")
      o.reloadEvery = args.seconds(a, 1e-3);
    else if (a == "--reload-at")
      o.reloadAt = args.times(a);
    else if (a == "--resume")
      o.resume = args.value(a);
    else if (isOption(a) || scenarioGiven)
      throw UsageError("unexpected argument \"" + a + "\"");
    else {
      o.scenario = a;
      scenarioGiven = true;
    }
  }
  if (!o.resume.empty() && (scenarioGiven || !fromFolder.empty()))
    throw UsageError(
        "--resume carries on with the flight folder's scenario, pilot program, frame and sample "
        "interval; " +
        (scenarioGiven ? "a scenario" : fromFolder) + " cannot be given with it");
  return o;
}

CheckOptions checkOptions(Args &args) {
  CheckOptions o;
  while (!args.done()) {
    const std::string a = args.take();
    if (a == "--root")
      o.root = args.value(a);
    else if (a == "--pilot")
      o.pilot = args.value(a);
    else if (a == "--strict")
      o.strict = true;
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
