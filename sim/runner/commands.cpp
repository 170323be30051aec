#include "sim/runner/commands.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "sim/pilot/pilot.h"
#include "sim/runner/expectations.h"
#include "sim/runner/flight.h"
#include "sim/runner/record/summary.h"
#include "sim/runner/record/vessel_table.h"
#include "sim/runner/report/report.h"
#include "sim/runner/resume.h"
#include "sim/runner/scenario_check.h"
#include "sim/world/world.h"

namespace fs = std::filesystem;

namespace sim {
namespace runner {
namespace {

const char kLog[] = "Varnell.log";  // the host's log, in the root

// A relative path names a file of the current folder if it is there; else it
// is left relative, to be found in the root once inside it.
std::string fromHere(const std::string &path) {
  return fs::path(path).is_relative() && fs::exists(path) ? fs::absolute(path).string() : path;
}

void enterRoot(const std::string &root) {
  std::error_code e;
  fs::current_path(root, e);
  if (e) throw std::runtime_error("cannot enter the root folder " + root + ": " + e.message());
}

std::string besideScenario(const std::string &scenario) {
  return fs::path(scenario).replace_extension(".pilot").string();
}

// The files named on the command line, each found as fromHere says; the pilot
// program is the one given, else the one beside the scenario if there is one,
// else none (empty). Enters the root; a file that is not there throws, naming
// every place it was looked for.
struct Inputs {
  std::string scenario, pilot;
};
Inputs enterRootWith(const std::string &root, const std::string &scenario, const std::string &pilot) {
  const fs::path here = fs::current_path();
  Inputs in{fromHere(scenario), pilot.empty() ? "" : fromHere(pilot)};
  enterRoot(root);
  const auto notThere = [&here](const std::string &what, const std::string &path) {
    return std::runtime_error("cannot open the " + what + " " + path + ": there is no file " +
                              (fs::path(path).is_relative()
                                   ? (here / path).string() + " (from the current folder) nor " +
                                         (fs::current_path() / path).string() + " (from the simulator tree, --root)"
                                   : path));
  };
  if (!fs::is_regular_file(in.scenario)) throw notThere("scenario", in.scenario);
  if (!in.pilot.empty() && !fs::is_regular_file(in.pilot)) throw notThere("pilot program", in.pilot);
  if (in.pilot.empty() && fs::is_regular_file(besideScenario(in.scenario))) in.pilot = besideScenario(in.scenario);
  return in;
}

// A system's reason, as the middle of a sentence: "permission denied".
std::string plain(std::string reason) {
  if (!reason.empty()) reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
  return reason;
}

// Made before anything flies, with a file written into it and removed, so
// that a flight is not flown for a record that cannot be kept.
void prepareOutDir(const std::string &dir) {
  fs::path existing = dir;
  std::error_code e;
  while (!fs::exists(existing, e) && existing.has_relative_path()) existing = existing.parent_path();
  const std::string cannot = "cannot make the output folder " + dir + ": ";
  if (!fs::is_directory(existing)) throw std::runtime_error(cannot + existing.string() + " is a file, not a folder");
  fs::create_directories(dir, e);
  if (e) throw std::runtime_error(cannot + plain(e.message()) + " in " + existing.string());
  const std::string probe = (fs::path(dir) / ".varnell-write-test").string();
  if (std::FILE *f = std::fopen(probe.c_str(), "w")) {
    std::fclose(f);
    fs::remove(probe, e);
    return;
  }
  throw std::runtime_error("cannot write into the output folder " + dir + ": " + plain(std::strerror(errno)));
}

// Without --until the flight ends where its pilot program ends it. A timed end
// rule comes for certain, within a frame at the highest time acceleration; an
// end rule on a condition may never fire, and the longer limit stops such a
// flight, saying so. A program without an end rule flies the default limit.
double limitOf(const FlyOptions &o, const pilot::Pilot *p) {
  if (o.until >= 0) return o.until;
  if (!p || !p->program().hasEnd()) return kDefaultUntil;
  double timedEnd = HUGE_VAL;  // [s]; none yet (a constant: no fault is raised)
  for (const pilot::Rule &r : p->program().rules)
    if (r.action.kind == pilot::Action::Kind::end && r.condition.kind == pilot::Condition::Kind::time)
      timedEnd = std::min(timedEnd, r.condition.time);
  return timedEnd < HUGE_VAL ? timedEnd + o.dt * pilot::kMaxTimeAcceleration : kPilotEndLimit;
}

// The program, or null when there is none; its problems are added to errors.
std::unique_ptr<pilot::Program> readPilot(const std::string &path, std::vector<std::string> &errors) {
  if (path.empty()) return nullptr;
  return std::make_unique<pilot::Program>(pilot::readProgram(path, errors));
}

const char *outcomeOf(int status, bool cutShort) {
  return status == kDiverged ? "diverged"
         : status == kNotMet ? "expectations not met"
         : cutShort          ? "stopped by --until"
                             : "success";
}

// The times to save and load the world at: those given, and every so many
// seconds of the flight, before its limit [s].
std::vector<double> reloadTimes(const FlyOptions &o, double limit) {
  std::vector<double> at;
  for (double t : o.reloadAt)
    if (t < limit) at.push_back(t);
  for (long k = 1; o.reloadEvery > 0 && k * o.reloadEvery < limit; ++k) at.push_back(k * o.reloadEvery);
  std::sort(at.begin(), at.end());
  at.erase(std::unique(at.begin(), at.end()), at.end());
  return at;
}

// The flights compared, checkpoint by checkpoint: the first difference, and
// after which reload it appeared (the checkpoints are taken at the reload
// times, before each reload, and at the end).
std::string compareFlights(const std::vector<Checkpoint> &straight, const std::vector<Checkpoint> &reloaded,
                           const std::vector<double> &at) {
  const size_t n = std::min(straight.size(), reloaded.size());
  for (size_t k = 0; k < n; ++k) {
    const bool last = k + 1 == n;
    const Checkpoint &a = last ? straight.back() : straight[k], &b = last ? reloaded.back() : reloaded[k];
    const std::string d = firstDifference(a, b, Tolerance());
    if (d.empty()) continue;
    char when[160];
    const size_t reloads = last ? n - 1 : k;  // made before this checkpoint
    if (reloads == 0)
      std::snprintf(when, sizeof when, "before any reload, at %.2f s: ", b.t);
    else
      std::snprintf(when, sizeof when, "after the reload at %.2f s, at %.2f s: ", at[reloads - 1], b.t);
    return when + d;
  }
  return "";
}

int flyLoaded(std::unique_ptr<World> &world, const FlyOptions &o, const std::string &scenario,
              const std::string &pilotPath, std::unique_ptr<pilot::Program> program, std::ostream &out, bool terminal,
              const std::function<std::unique_ptr<World>(const std::string &log)> &load, const Resumed *resumed) {
  // A pilot as the program's, or taking up where the flight's folder says it stopped.
  const auto pilotFor = [&]() -> std::unique_ptr<pilot::Pilot> {
    if (!program) return nullptr;
    auto p = std::make_unique<pilot::Pilot>(*program);
    if (resumed && !p->resume(resumed->progress))
      throw std::runtime_error("the pilot's progress in " + o.resume + "/" + kStateFile + " does not fit " + pilotPath);
    return p;
  };
  std::unique_ptr<pilot::Pilot> pilot = pilotFor();
  out << scenario << ": " << world->vessels().size() << " vessel(s), pilot " << (pilot ? pilotPath : "none") << '\n';
  const double limit = limitOf(o, pilot.get());

  // With reloads, the flight is flown first straight through, unseen (one
  // world at a time), for the one reloaded to be compared with.
  ReloadPlan plan;
  std::vector<Checkpoint> straight, reloaded;
  if (o.reloadEvery > 0 || !o.reloadAt.empty()) {
    plan.at = reloadTimes(o, limit);
    world.reset();
    std::unique_ptr<World> reference = load("");
    std::unique_ptr<pilot::Pilot> referencePilot = pilotFor();
    std::ostringstream unseen;
    EventPrinter quiet(unseen);
    ProgressLine none(unseen, false);
    ReloadPlan looks{plan.at, false, "", &straight};
    fly(reference, referencePilot.get(), limit, {quiet, none, nullptr, o.sample}, &looks);
    reference.reset();
    world = load(kLog);
    plan.logPath = kLog;
    plan.checkpoints = &reloaded;
  }

  const std::string &outDir = o.outDir;
  std::unique_ptr<FlightFiles> files;
  if (!outDir.empty()) files = std::make_unique<FlightFiles>(outDir);
  if (files && resumed) files->continueFrom(resumed->carried.events, resumed->telemetryRows);
  EventPrinter printer(out);
  ProgressLine progress(out, terminal);
  const FlightResult r = fly(world, pilot.get(), limit, {printer, progress, files.get(), o.sample}, &plan);
  World &flown = *world;

  out << '\n';
  printVesselTable(flown, out);
  char line[160];
  std::snprintf(line, sizeof line, "\nflew %.2f s in %.2f s (%ld steps); %d group-level event(s) not shown\n",
                flown.flightTime(), r.wallTime, r.steps, printer.thinned());
  out << line;

  // Stopped by a time limit before the pilot program's end rule fired: on
  // purpose with --until, and what was still to come is not reached.
  const bool endRuleLeft = pilot && pilot->program().hasEnd() && !pilot->ended() && !r.diverged;
  const bool cutShort = endRuleLeft && o.until >= 0;
  const std::vector<pilot::Expectation> none;
  const std::vector<pilot::Expectation> &expectations = pilot ? pilot->program().expectations : none;
  const std::vector<ExpectationResult> results = checkExpectations(flown, expectations, cutShort);
  out << '\n';
  const bool met = reportExpectations(expectations, results, out);
  int status = r.diverged ? kDiverged : met ? kSuccess : kNotMet;
  if (r.diverged) out << "the flight stopped: " << r.endedBy << '\n';
  bool differs = false;
  if (plan.checkpoints) {
    const std::string d = compareFlights(straight, reloaded, plan.at);
    differs = !d.empty();
    out << "reloaded " << plan.done << " time(s): "
        << (differs ? "the flight differs from the one flown straight through " + d
                    : "the flight agrees with the one flown straight through (within 1 mm, 1 um/s, 1 g)")
        << '\n';
    if (differs && status == kSuccess) status = kNotMet;
  }
  if (endRuleLeft) {
    std::snprintf(line, sizeof line,
                  "the flight was stopped at %.2f s %s, before its pilot program's end rule fired%s\n",
                  flown.flightTime(), cutShort ? "by --until" : "by the time limit",
                  cutShort ? "" : "; --until SECONDS sets another limit");
    out << line;
  }
  if (!outDir.empty()) {
    files.reset();
    writeSummary(outDir + "/summary.json", flown,
                 {o.scenario, pilotPath, differs ? "differs after a reload" : outcomeOf(status, cutShort)}, r,
                 {expectations, results});
    if (!flown.saveScenario(outDir + "/final.scn")) throw std::runtime_error("cannot write " + outDir + "/final.scn");
    writeFlightState(outDir, flown, o.sample, pilot.get(), pilotPath);
    writeReport(outDir);
  }
  return status;
}

// How many problems stop a flight: the errors, and under --strict the warnings too.
size_t stopping(const ScenarioReport &r, bool strict) { return r.errors.size() + (strict ? r.warnings.size() : 0); }

}  // namespace

int runFly(const FlyOptions &given, std::ostream &out, std::ostream &err, bool terminal) {
  FlyOptions o = given;
  if (!o.outDir.empty()) o.outDir = fs::absolute(o.outDir).string();
  std::unique_ptr<Resumed> resumed;
  if (!o.resume.empty()) {
    o.resume = fs::absolute(o.resume).string();
    resumed = std::make_unique<Resumed>(readFlightState(o.resume));
    o.scenario = resumed->scenario;
    o.pilot = resumed->pilot;
    o.dt = resumed->carried.dt;
    o.sample = resumed->sample;
  }
  const Inputs in = enterRootWith(o.root, o.scenario, o.pilot);
  const std::string &scenario = in.scenario, &pilotPath = in.pilot;

  // The world to fly is the one checked; it is loaded again only when a line
  // has to be tried without, which takes a world of its own.
  std::vector<std::string> pilotErrors;
  std::unique_ptr<pilot::Program> program = readPilot(pilotPath, pilotErrors);
  if (program && resumed && !resumed->pilotName.empty()) program->file = resumed->pilotName;
  const auto load = [&](const std::string &log) {
    auto w = std::make_unique<World>(".", log);
    w->dt = o.dt;
    if (resumed) carryInto(*w, resumed->carried);  // before the load: its events go on the flight's clock
    w->loadScenario(scenario);
    if (resumed) markCrashed(*w);
    return w;
  };
  std::unique_ptr<World> world = load(kLog);
  LoadedCheck check = checkLoaded(*world, scenario, program.get());
  if (!check.unread.empty()) {
    world.reset();
    confirmUnread(scenario, check);
    world = load(kLog);
  }
  ScenarioReport &report = check.report;
  report.errors.insert(report.errors.end(), pilotErrors.begin(), pilotErrors.end());
  for (const std::string &e : report.errors) err << "varnell: " << e << '\n';
  for (const std::string &w : report.warnings) err << "varnell: warning: " << w << '\n';
  if (stopping(report, o.strict) > 0) {
    err << "varnell: " << report.errors.size() << " error(s)"
        << (o.strict && !report.warnings.empty()
                ? " and " + std::to_string(report.warnings.size()) + " warning(s), errors under --strict,"
                : "")
        << " in " << scenario << (pilotPath.empty() ? "" : " or " + pilotPath) << "; nothing flown\n";
    return kBadInput;
  }

  if (!o.outDir.empty()) prepareOutDir(o.outDir);
  const int status = flyLoaded(world, o, scenario, pilotPath, std::move(program), out, terminal, load, resumed.get());
  world.reset();  // its end is in the log too: the copy is made once it is gone
  if (status == kDiverged) err << "varnell: the flight diverged; see the diverged event\n";
  if (o.outDir.empty()) {
    out << "nothing kept: --out DIR keeps the flight's record, with a report.html to see it in\n";
    return status;
  }
  // Removed first: MinGW's copy_file refuses to overwrite ("File exists").
  std::error_code failed;
  fs::remove(o.outDir + "/" + kLog, failed);
  fs::copy_file(kLog, o.outDir + "/" + kLog, failed);
  if (failed) throw std::runtime_error("cannot copy the log into " + o.outDir + ": " + failed.message());
  out << "wrote " << o.outDir << "/{events.csv,telemetry.csv,summary.json,final.scn,report.html," << kLog << ","
      << kStateFile << (pilotPath.empty() ? "" : std::string(",") + kPilotFile) << "}\n"
      << "to see the flight, open " << o.outDir << "/report.html\n";  // as the line above names it
  return status;
}

int runReport(const ReportOptions &o, std::ostream &out) {
  const size_t bytes = writeReport(o.dir);
  out << "wrote " << (fs::path(o.dir) / "report.html").string() << " (" << (bytes + 512) / 1024 << " KiB)\n";
  return kSuccess;
}

int runCheck(const CheckOptions &o, std::ostream &out) {
  const Inputs in = enterRootWith(o.root, o.scenario, o.pilot);
  std::vector<std::string> pilotErrors;
  const std::unique_ptr<pilot::Program> program = readPilot(in.pilot, pilotErrors);
  ScenarioReport r = checkScenario(in.scenario, program.get());
  r.errors.insert(r.errors.end(), pilotErrors.begin(), pilotErrors.end());
  for (const std::string &e : r.errors) out << e << '\n';
  for (const std::string &w : r.warnings) out << "warning: " << w << '\n';
  out << in.scenario << ": " << (r.errors.empty() ? "no errors" : std::to_string(r.errors.size()) + " error(s)") << ", "
      << r.warnings.size() << " warning(s)" << (o.strict && !r.warnings.empty() ? ", errors under --strict" : "")
      << '\n';
  return stopping(r, o.strict) > 0 ? kBadInput : kSuccess;
}

}  // namespace runner
}  // namespace sim
