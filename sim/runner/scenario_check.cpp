#include "sim/runner/scenario_check.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "sim/formats/class_file.h"
#include "sim/formats/class_keys.h"
#include "sim/formats/mesh.h"
#include "sim/formats/scenario_file.h"
#include "sim/formats/text.h"
#include "sim/platform/module.h"
#include "sim/world/world.h"

namespace sim {
namespace runner {
namespace {

// A manifest entry line names the payload, its mesh and its class side by
// side after its keyword; the mesh is the one the carrier asked for. Its mass
// [kg] and fuel [fraction of full] are its seventh and ninth fields after the
// keyword, as the manifest reader takes them (README, payload/manifest_fields.h).
struct Entry {
  std::string where;  // "FILE:LINE"
  std::string name, className;
  bool weighed = false;  // mass and fuel read
  double mass = 0, fuel = 0;
};

std::vector<Entry> entriesTakenIn(const World &w) {
  std::vector<Entry> out;
  for (const Resources::LineMesh &m : w.resources().meshesAskedWhileReading()) {
    const std::vector<std::string> f = words(m.text);
    if (f.size() <= 3 || f[2] != m.mesh) continue;
    Entry e{m.file + ":" + std::to_string(m.line), f[1], f[3]};
    e.weighed = f.size() > 9 && toNumber(f[7], e.mass) && toNumber(f[9], e.fuel);
    out.push_back(e);
  }
  return out;
}

// The keys each vessel writes when it is saved, by the order of the world's
// vessels: what a vessel writes, it reads back.
std::vector<std::set<std::string>> keysSaved(const std::string &text) {
  Log quiet("");
  ScenarioData saved;
  parseScenarioText("(saved)", text, quiet, saved);
  std::vector<std::set<std::string>> keys;
  for (const VesselBlock &b : saved.vessels) {
    keys.emplace_back();
    for (const ScenarioLine &l : b.lines) keys.back().insert(lower(words(l.text).front()));
  }
  return keys;
}

bool reported(const std::vector<std::string> &problems, const std::string &where) {
  for (const std::string &p : problems)
    if (p.rfind(where + ": ", 0) == 0) return true;
  return false;
}

std::vector<Unread> maybeUnread(const World &w, const std::string &scenario, const std::string &saved,
                                const ScenarioReport &r) {
  const std::vector<std::set<std::string>> keys = keysSaved(saved);
  std::vector<Unread> out;
  for (size_t i = 0; i < w.vessels().size() && i < keys.size(); ++i)
    for (const ScenarioLine &l : w.unknownLines(*w.vessels()[i]))
      if (!keys[i].count(lower(words(l.text).front())) &&
          !reported(r.errors, scenario + ":" + std::to_string(l.number)))
        out.push_back({w.vessels()[i]->name, l});
  return out;
}

// A class of a manifest entry, read as its release would read it: the class
// file and its generic keys, its module, its mesh; and what it weighs, when
// its file alone says so: its Mass, and the tank MaxFuel gives a class
// without a module (a module may make tanks of its own, and a class without
// Mass takes its mass from its module).
struct EntryClass {
  std::vector<std::string> problems;
  bool weighed = false;               // its Mass read
  bool moduleTanks = false;           // it has a module, which may make tanks of its own
  double emptyMass = 0, maxFuel = 0;  // [kg]
};

EntryClass readEntryClass(const std::string &className) {
  Log log("");
  EntryClass c;
  const std::unique_ptr<ClassFile> cf = ClassFile::read("./Config/Vessels/" + namePath(className) + ".cfg", log);
  if (cf) checkClassKeys(*cf, log);
  if (cf && cf->has("Module") && !Module::open(cf->text("Module")))
    log.error("module \"" + cf->text("Module") + "\" will not load", cf->path(), cf->line("Module"));
  if (cf && cf->has("MeshName"))
    readMesh("./Meshes/" + namePath(cf->text("MeshName")) + ".msh", cf->text("MeshName"), log);
  c.problems = log.errors();
  Log quiet("");
  c.weighed = cf && c.problems.empty() && cf->numbers("Mass", &c.emptyMass, 1, quiet);
  c.moduleTanks = c.weighed && cf->has("Module");
  if (c.weighed && !c.moduleTanks && cf->has("MaxFuel")) cf->numbers("MaxFuel", &c.maxFuel, 1, quiet);
  return c;
}

// What a payload carried at one mass weighs as another once released is a
// carrier flown wrong before and the payload after.
const double kMassTolerance = 1;  // [kg]

void weighEntry(const Entry &e, const EntryClass &c, ScenarioReport &r) {
  if (!e.weighed || !c.weighed || (c.moduleTanks && e.fuel > 0)) return;
  const double released = c.emptyMass + e.fuel * c.maxFuel;  // [kg]
  if (std::fabs(e.mass - released) <= kMassTolerance) return;
  char numbers[224];
  std::snprintf(numbers, sizeof numbers,
                "%.6g kg, but its class weighs %.6g kg at release (%.6g kg empty and %.6g of its %.6g kg of fuel)",
                e.mass, released, c.emptyMass, e.fuel, c.maxFuel);
  r.warnings.push_back(e.where + ": payload " + e.name + " of class \"" + e.className + "\" is carried as " + numbers);
}

void entryClasses(const std::vector<Entry> &entries, ScenarioReport &r) {
  std::map<std::string, EntryClass> classes;
  for (const Entry &e : entries) {
    const auto [at, first] = classes.try_emplace(e.className);
    if (first) {
      at->second = readEntryClass(e.className);
      for (const std::string &problem : at->second.problems)
        r.errors.push_back(e.where + ": payload " + e.name + " of class \"" + e.className + "\": " + problem);
    }
    weighEntry(e, at->second, r);
  }
}

void pilotVessels(const World &w, const std::vector<Entry> &entries, const pilot::Program &p, ScenarioReport &r) {
  std::set<std::string> known;
  for (const Vessel *v : w.vessels()) known.insert(v->name);
  for (const Entry &e : entries) known.insert(e.name);
  std::set<std::string> told;
  for (const pilot::Rule &rule : p.rules)
    for (const std::string &name : {rule.vessel, rule.condition.vessel}) {
      if (name.empty() || known.count(name) || !told.insert(name).second) continue;
      r.warnings.push_back(p.file + ":" + std::to_string(rule.line) + ": no vessel named \"" + name +
                           "\" is in the scenario or any manifest of it");
    }
}

}  // namespace

// A module may read a key it never writes (a closing line of a manifest, say):
// the line was read after all if the scenario without it saves otherwise.
void confirmUnread(const std::string &scenario, LoadedCheck &c) {
  std::ifstream in(scenario);
  std::vector<std::string> text;
  for (std::string line; std::getline(in, line);) text.push_back(line);
  for (const Unread &u : c.unread) {
    std::string without;
    for (size_t n = 0; n < text.size(); ++n) without += (n + 1 == size_t(u.line.number) ? "" : text[n]) + "\n";
    World probe(".", "");
    probe.loadScenarioText(scenario, without);
    if (probe.scenarioText() != c.saved) continue;
    c.report.warnings.push_back(scenario + ":" + std::to_string(u.line.number) + ": no reader takes this line of " +
                                u.vessel + ": \"" + u.line.text + "\"");
  }
  c.unread.clear();
}

LoadedCheck checkLoaded(const World &w, const std::string &scenario, const pilot::Program *program) {
  LoadedCheck c;
  c.report.errors = w.log().errors();
  c.report.warnings = w.log().warnings();
  c.saved = w.scenarioText();
  c.unread = maybeUnread(w, scenario, c.saved, c.report);
  const std::vector<Entry> entries = entriesTakenIn(w);
  if (program) pilotVessels(w, entries, *program, c.report);
  entryClasses(entries, c.report);
  return c;
}

ScenarioReport checkScenario(const std::string &scenario, const pilot::Program *program) {
  if (!std::filesystem::is_regular_file(scenario)) return {{scenario + ": cannot open the scenario"}, {}};
  LoadedCheck c;
  {
    World w(".");
    w.loadScenario(scenario);
    c = checkLoaded(w, scenario, program);
  }
  confirmUnread(scenario, c);
  return c.report;
}

}  // namespace runner
}  // namespace sim
