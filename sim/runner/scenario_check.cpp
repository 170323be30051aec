#include "scenario_check.h"

#include <filesystem>
#include <set>

#include "../scenario_parse.h"
#include "../text.h"
#include "../world.h"

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
  for (const World::LineMesh &m : w.meshesAskedWhileReading) {
    const std::vector<std::string> f = words(m.text);
    if (f.size() > 3 && f[2] == m.mesh) out.push_back({m.file + ":" + std::to_string(m.line), f[1], f[3]});
  }
  return out;
}

// The keys each vessel writes when it is saved, by the order of the world's
// vessels: what a vessel writes, it reads back.
std::vector<std::set<std::string>> keysSaved(const World &w) {
  Log quiet("");
  ScenarioData saved;
  parseScenarioText("(saved)", w.scenarioText(), quiet, saved);
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

// A line the host's parser did not know was still read if the vessel's module
// writes that key itself, or if the module said something about it.
void unreadLines(const World &w, const std::string &scenario, ScenarioReport &r) {
  const std::vector<std::set<std::string>> keys = keysSaved(w);
  for (size_t i = 0; i < w.vessels().size() && i < keys.size(); ++i)
    for (const ScenarioLine &l : w.vessels()[i]->unknownLines) {
      const std::string where = scenario + ":" + std::to_string(l.number);
      if (keys[i].count(lower(words(l.text).front())) || reported(r.errors, where)) continue;
      r.warnings.push_back(where + ": no reader takes this line of " + w.vessels()[i]->name + ": \"" + l.text + "\"");
    }
}

// Each class once, made as a vessel in this world (which never flies): its
// class file, module and mesh load as they would at the release.
void entryClasses(World &w, const std::vector<Entry> &entries, ScenarioReport &r) {
  std::set<std::string> tried;
  for (const Entry &e : entries) {
    if (!tried.insert(e.className).second) continue;
    const size_t before = w.log().errors().size();
    w.createVessel(e.name, e.className, nullptr);
    const std::vector<std::string> &errors = w.log().errors();
    for (size_t k = before; k < errors.size(); ++k)
      r.errors.push_back(e.where + ": payload " + e.name + " of class \"" + e.className + "\": " + errors[k]);
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

ScenarioReport checkScenario(const std::string &scenario, const pilot::Program *program) {
  ScenarioReport r;
  if (!std::filesystem::is_regular_file(scenario)) {
    r.errors.push_back(scenario + ": cannot open the scenario");
    return r;
  }
  World w(".");
  w.loadScenario(scenario);
  r.errors = w.log().errors();
  r.warnings = w.log().warnings();
  unreadLines(w, scenario, r);
  const std::vector<Entry> entries = entriesTakenIn(w);
  if (program) pilotVessels(w, entries, *program, r);
  entryClasses(w, entries, r);
  return r;
}

}  // namespace runner
}  // namespace sim
