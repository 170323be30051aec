#include "sim/runner/scenario_check.h"

#include <filesystem>
#include <fstream>
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
// side after its keyword; the mesh is the one the carrier asked for.
struct Entry {
  std::string where;  // "FILE:LINE"
  std::string name, className;
};

std::vector<Entry> entriesTakenIn(const World &w) {
  std::vector<Entry> out;
  for (const Resources::LineMesh &m : w.resources().meshesAskedWhileReading()) {
    const std::vector<std::string> f = words(m.text);
    if (f.size() > 3 && f[2] == m.mesh) out.push_back({m.file + ":" + std::to_string(m.line), f[1], f[3]});
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
    for (const ScenarioLine &l : w.vessels()[i]->unknownLines)
      if (!keys[i].count(lower(words(l.text).front())) &&
          !reported(r.errors, scenario + ":" + std::to_string(l.number)))
        out.push_back({w.vessels()[i]->name, l});
  return out;
}

// A class of a manifest entry, read as its release would read it: the class
// file and its generic keys, its module, its mesh.
std::vector<std::string> classProblems(const std::string &className) {
  Log log("");
  const std::unique_ptr<ClassFile> cf = ClassFile::read("./Config/Vessels/" + namePath(className) + ".cfg", log);
  if (cf) checkClassKeys(*cf, log);
  if (cf && cf->has("Module") && !Module::open(cf->text("Module")))
    log.error("module \"" + cf->text("Module") + "\" will not load", cf->path(), cf->line("Module"));
  if (cf && cf->has("MeshName"))
    readMesh("./Meshes/" + namePath(cf->text("MeshName")) + ".msh", cf->text("MeshName"), log);
  return log.errors();
}

void entryClasses(const std::vector<Entry> &entries, ScenarioReport &r) {
  std::set<std::string> tried;
  for (const Entry &e : entries) {
    if (!tried.insert(e.className).second) continue;
    for (const std::string &problem : classProblems(e.className))
      r.errors.push_back(e.where + ": payload " + e.name + " of class \"" + e.className + "\": " + problem);
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
