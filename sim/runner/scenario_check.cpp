#include "scenario_check.h"

#include <filesystem>
#include <fstream>
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

// A line the host's parser did not know, whose key the vessel's module does
// not write back and about which it said nothing: perhaps no one read it.
struct Unread {
  std::string vessel;
  ScenarioLine line;
};

std::vector<Unread> maybeUnread(const World &w, const std::string &scenario, const ScenarioReport &r) {
  const std::vector<std::set<std::string>> keys = keysSaved(w);
  std::vector<Unread> out;
  for (size_t i = 0; i < w.vessels().size() && i < keys.size(); ++i)
    for (const ScenarioLine &l : w.vessels()[i]->unknownLines)
      if (!keys[i].count(lower(words(l.text).front())) && !reported(r.errors, scenario + ":" + std::to_string(l.number)))
        out.push_back({w.vessels()[i]->name, l});
  return out;
}

// A module may read a key it never writes (a closing line of a manifest, say):
// the line was read after all if the scenario without it saves otherwise.
void unreadLines(const std::string &scenario, const std::string &saved, const std::vector<Unread> &lines,
                 ScenarioReport &r) {
  if (lines.empty()) return;
  std::ifstream in(scenario);
  std::vector<std::string> text;
  for (std::string line; std::getline(in, line);) text.push_back(line);
  for (const Unread &u : lines) {
    std::string without;
    for (size_t n = 0; n < text.size(); ++n) without += (n + 1 == size_t(u.line.number) ? "" : text[n]) + "\n";
    World probe(".", "");
    probe.loadScenarioText(scenario, without);
    if (probe.scenarioText() != saved) continue;
    r.warnings.push_back(scenario + ":" + std::to_string(u.line.number) + ": no reader takes this line of " + u.vessel +
                         ": \"" + u.line.text + "\"");
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
  std::vector<Unread> unread;
  std::string saved;
  {
    World w(".");
    w.loadScenario(scenario);
    r.errors = w.log().errors();
    r.warnings = w.log().warnings();
    unread = maybeUnread(w, scenario, r);
    saved = w.scenarioText();
    const std::vector<Entry> entries = entriesTakenIn(w);
    if (program) pilotVessels(w, entries, *program, r);
    entryClasses(w, entries, r);
  }
  unreadLines(scenario, saved, unread, r);
  return r;
}

}  // namespace runner
}  // namespace sim
