#include "sim/runner/commands.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "sim/pilot/pilot.h"
#include "sim/runner/expectations.h"
#include "sim/runner/flight.h"
#include "sim/runner/record/summary.h"
#include "sim/runner/record/vessel_table.h"
#include "sim/runner/report/report.h"
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

// The pilot program given, else the one beside the scenario if there is one;
// empty when there is none. Call inside the root.
std::string pilotFile(const std::string &given, const std::string &scenario) {
  if (!given.empty()) return given;
  return fs::is_regular_file(besideScenario(scenario)) ? besideScenario(scenario) : "";
}

double limitOf(const FlyOptions &o, const pilot::Pilot *p) {
  if (o.until >= 0) return o.until;
  return p && p->program().hasEnd() ? kPilotEndLimit : kDefaultUntil;
}

// The program, or null when there is none; its problems are added to errors.
std::unique_ptr<pilot::Program> readPilot(const std::string &path, std::vector<std::string> &errors) {
  if (path.empty()) return nullptr;
  return std::make_unique<pilot::Program>(pilot::readProgram(path, errors));
}

const char *outcomeOf(int status) {
  return status == kDiverged ? "diverged" : status == kNotMet ? "expectations not met" : "success";
}

int flyLoaded(World &world, const FlyOptions &o, const std::string &scenario, const std::string &pilotPath,
              std::unique_ptr<pilot::Program> program, std::ostream &out, bool terminal) {
  std::unique_ptr<pilot::Pilot> pilot;
  if (program) pilot = std::make_unique<pilot::Pilot>(std::move(*program));
  out << scenario << ": " << world.vessels().size() << " vessel(s), pilot " << (pilot ? pilotPath : "none") << '\n';

  const std::string &outDir = o.outDir;
  std::unique_ptr<FlightFiles> files;
  if (!outDir.empty()) files = std::make_unique<FlightFiles>(outDir);
  EventPrinter printer(out);
  ProgressLine progress(out, terminal);
  const FlightResult r = fly(world, pilot.get(), limitOf(o, pilot.get()), {printer, progress, files.get(), o.sample});

  out << '\n';
  printVesselTable(world, out);
  char line[160];
  std::snprintf(line, sizeof line, "\nflew %.2f s in %.2f s (%ld steps); %d group-level event(s) not shown\n",
                world.simTime(), r.wallTime, r.steps, printer.thinned());
  out << line;

  const std::vector<pilot::Expectation> none;
  const std::vector<pilot::Expectation> &expectations = pilot ? pilot->program().expectations : none;
  const std::vector<ExpectationResult> results = checkExpectations(world, expectations);
  out << '\n';
  const bool met = reportExpectations(expectations, results, out);
  const int status = r.diverged ? kDiverged : met ? kSuccess : kNotMet;
  if (r.diverged) out << "the flight stopped: " << r.endedBy << '\n';
  if (!outDir.empty()) {
    files.reset();
    writeSummary(outDir + "/summary.json", world, {o.scenario, pilotPath, outcomeOf(status)}, r,
                 {expectations, results});
    if (!world.saveScenario(outDir + "/final.scn")) throw std::runtime_error("cannot write " + outDir + "/final.scn");
    writeReport(outDir);
  }
  return status;
}

}  // namespace

int runFly(const FlyOptions &given, std::ostream &out, std::ostream &err, bool terminal) {
  FlyOptions o = given;
  const std::string scenario = fromHere(o.scenario);
  if (!o.pilot.empty()) o.pilot = fromHere(o.pilot);
  if (!o.outDir.empty()) o.outDir = fs::absolute(o.outDir).string();
  enterRoot(o.root);
  const std::string pilotPath = pilotFile(o.pilot, scenario);
  if (!fs::is_regular_file(scenario)) throw std::runtime_error("cannot open the scenario " + scenario);

  // The world to fly is the one checked; it is loaded again only when a line
  // has to be tried without, which takes a world of its own.
  std::vector<std::string> pilotErrors;
  std::unique_ptr<pilot::Program> program = readPilot(pilotPath, pilotErrors);
  const auto load = [&] {
    auto w = std::make_unique<World>(".", kLog);
    w->dt = o.dt;
    w->loadScenario(scenario);
    return w;
  };
  std::unique_ptr<World> world = load();
  LoadedCheck check = checkLoaded(*world, scenario, program.get());
  if (!check.unread.empty()) {
    world.reset();
    confirmUnread(scenario, check);
    world = load();
  }
  ScenarioReport &report = check.report;
  report.errors.insert(report.errors.end(), pilotErrors.begin(), pilotErrors.end());
  for (const std::string &e : report.errors) err << "varnell: " << e << '\n';
  for (const std::string &w : report.warnings) err << "varnell: warning: " << w << '\n';
  if (!report.errors.empty()) {
    err << "varnell: " << report.errors.size() << " error(s) in " << scenario
        << (pilotPath.empty() ? "" : " or " + pilotPath) << "; nothing flown\n";
    return kBadInput;
  }

  if (!o.outDir.empty()) fs::create_directories(o.outDir);
  const int status = flyLoaded(*world, o, scenario, pilotPath, std::move(program), out, terminal);
  world.reset();  // its end is in the log too: the copy is made once it is gone
  if (!o.outDir.empty()) {
    std::error_code failed;
    fs::copy_file(kLog, o.outDir + "/" + kLog, fs::copy_options::overwrite_existing, failed);
    if (failed) throw std::runtime_error("cannot copy the log into " + o.outDir + ": " + failed.message());
    out << "wrote " << o.outDir << "/{events.csv,telemetry.csv,summary.json,final.scn,report.html," << kLog << "}\n";
  }
  if (status == kDiverged) err << "varnell: the flight diverged; see the diverged event\n";
  return status;
}

int runReport(const ReportOptions &o, std::ostream &out) {
  const size_t bytes = writeReport(o.dir);
  out << "wrote " << (fs::path(o.dir) / "report.html").string() << " (" << (bytes + 512) / 1024 << " KiB)\n";
  return kSuccess;
}

int runCheck(const CheckOptions &o, std::ostream &out) {
  const std::string scenario = fromHere(o.scenario);
  const std::string given = o.pilot.empty() ? "" : fromHere(o.pilot);
  enterRoot(o.root);
  std::vector<std::string> pilotErrors;
  const std::unique_ptr<pilot::Program> program = readPilot(pilotFile(given, scenario), pilotErrors);
  ScenarioReport r = checkScenario(scenario, program.get());
  r.errors.insert(r.errors.end(), pilotErrors.begin(), pilotErrors.end());
  for (const std::string &e : r.errors) out << e << '\n';
  for (const std::string &w : r.warnings) out << "warning: " << w << '\n';
  out << scenario << ": " << (r.errors.empty() ? "no errors" : std::to_string(r.errors.size()) + " error(s)") << ", "
      << r.warnings.size() << " warning(s)\n";
  return r.errors.empty() ? kSuccess : kBadInput;
}

}  // namespace runner
}  // namespace sim
