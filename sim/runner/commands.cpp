#include "commands.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "../pilot/pilot.h"
#include "../world.h"
#include "expectations.h"
#include "flight.h"
#include "report.h"
#include "scenario_check.h"
#include "summary.h"
#include "vessel_table.h"

namespace fs = std::filesystem;

namespace sim {
namespace runner {
namespace {

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

// Null when the program has problems; they are printed.
std::unique_ptr<pilot::Pilot> readPilot(const std::string &path, std::ostream &out) {
  std::vector<std::string> errors;
  pilot::Program program = pilot::readProgram(path, errors);
  for (const std::string &e : errors) out << e << '\n';
  if (!errors.empty()) return nullptr;
  return std::make_unique<pilot::Pilot>(std::move(program));
}

double limitOf(const FlyOptions &o, const pilot::Pilot *p) {
  if (o.until >= 0) return o.until;
  return p && p->program().hasEnd() ? kPilotEndLimit : kDefaultUntil;
}

void writeOutputs(const std::string &dir, const World &w, const SummaryHeader &h, const FlightResult &r) {
  writeSummary(dir + "/summary.json", w, h, r);
  if (!w.saveScenario(dir + "/final.scn")) throw std::runtime_error("cannot write " + dir + "/final.scn");
  writeReport(dir);
}

std::vector<CheckedExpectation> checked(const std::vector<pilot::Expectation> &e,
                                        const std::vector<ExpectationResult> &r) {
  std::vector<CheckedExpectation> out;
  for (size_t i = 0; i < e.size(); ++i) out.push_back({e[i].line, e[i].text, r[i].met, r[i].found});
  return out;
}

}  // namespace

int runFly(const FlyOptions &o, std::ostream &out, bool terminal) {
  const std::string scenario = fromHere(o.scenario);
  std::string pilotFile = o.pilot.empty() ? "" : fromHere(o.pilot);
  const std::string outDir = o.outDir.empty() ? "" : fs::absolute(o.outDir).string();
  enterRoot(o.root);
  if (o.pilot.empty() && fs::is_regular_file(besideScenario(scenario))) pilotFile = besideScenario(scenario);
  std::unique_ptr<pilot::Pilot> pilot;
  if (!pilotFile.empty() && !(pilot = readPilot(pilotFile, out))) return 1;

  World world(".");
  world.dt = o.dt;
  if (!world.loadScenario(scenario)) throw std::runtime_error("cannot open the scenario " + scenario);
  out << scenario << ": " << world.vessels().size() << " vessel(s), pilot " << (pilot ? pilotFile : "none") << '\n';
  if (world.log().errorCount() > 0)
    out << world.log().errorCount() << " problem(s) loading it, see " << fs::absolute("Varnell.log").string() << '\n';

  std::unique_ptr<FlightFiles> files;
  if (!outDir.empty()) {
    fs::create_directories(outDir);
    files = std::make_unique<FlightFiles>(outDir);
  }
  EventPrinter printer(out);
  ProgressLine progress(out, terminal);
  const FlightResult r = fly(world, pilot.get(), limitOf(o, pilot.get()), {printer, progress, files.get()});

  out << '\n';
  printVesselTable(world, out);
  char line[160];
  std::snprintf(line, sizeof line, "\nflew %.2f s in %.2f s (%ld steps); %d group-level event(s) not shown\n",
                world.simTime(), r.wallTime, r.steps, printer.thinned());
  out << line;
  const std::vector<pilot::Expectation> none;
  const std::vector<pilot::Expectation> &expectations = pilot ? pilot->program().expectations : none;
  const std::vector<ExpectationResult> results = checkExpectations(world, expectations);
  if (!outDir.empty()) {
    files.reset();
    writeOutputs(outDir, world, {o.scenario, pilotFile, checked(expectations, results)}, r);
    out << "wrote " << outDir << "/{events.csv,telemetry.csv,summary.json,final.scn,report.html}\n";
  }
  out << '\n';
  return reportExpectations(expectations, results, out) ? 0 : 1;
}

int runReport(const ReportOptions &o, std::ostream &out) {
  const size_t bytes = writeReport(o.dir);
  out << "wrote " << (fs::path(o.dir) / "report.html").string() << " (" << (bytes + 512) / 1024 << " KiB)\n";
  return 0;
}

int runCheck(const CheckOptions &o, std::ostream &out) {
  const std::string scenario = fromHere(o.scenario);
  enterRoot(o.root);
  const std::vector<std::string> problems = checkScenario(scenario, besideScenario(scenario));
  for (const std::string &p : problems) out << p << '\n';
  out << scenario << ": " << (problems.empty() ? "no problems found" : std::to_string(problems.size()) + " problem(s)")
      << '\n';
  return problems.empty() ? 0 : 1;
}

}  // namespace runner
}  // namespace sim
