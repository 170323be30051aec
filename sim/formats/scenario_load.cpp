// Loading a scenario: its blocks, then each vessel created and handed its lines
// through the module's ovcLoadStateEx (or clbkLoadStateEx), and its state applied.
#include <cstring>

#include "sim/formats/scenario_handles.h"
#include "sim/physics/planet/ground.h"
#include "sim/platform/module.h"
#include "sim/world/world.h"

namespace sim {
namespace {

void loadVesselState(World &w, Vessel &v, const std::string &file, const VesselBlock &b) {
  VesselLines lines(file, b.lines);
  LoadRecord record(v, lines, b.line);
  ScenarioCall &call = activeScenarioCall();
  const ScenarioCall outer = call;
  call.lines = &lines;
  call.record = &record;
  {
    CallingScope calling(w, &v);
    if (v.module && v.module->ovcLoadStateEx)
      v.module->ovcLoadStateEx(v.iface, &lines, &record);
    else if (auto *v2 = callbacksOf(v.iface))
      v2->clbkLoadStateEx(&lines, &record);
  }
  call = outer;
  applyRecord(w, record);
}

}  // namespace

ScenarioCall &activeScenarioCall() {
  static ScenarioCall call;
  return call;
}

bool VesselLines::next(char *&line) {
  if (next_ == lines_.size()) return false;
  current_ = lines_[next_].number;
  buffer_ = lines_[next_++].text;
  line = &buffer_[0];
  return true;
}

bool World::loadScenario(const std::string &path) {
  ScenarioData data;
  if (!parseScenario(path, *log_, data)) return false;
  loadScenario(path, data);
  return true;
}

void World::loadScenarioText(const std::string &name, const std::string &text) {
  ScenarioData data;
  parseScenarioText(name, text, *log_, data);
  loadScenario(name, data);
}

void World::loadScenario(const std::string &path, const ScenarioData &data) {
  scenarioDescription = data.description;
  if (!data.system.empty()) planetarySystem = data.system;
  if (data.dated && !dateCarried) mjd = data.mjd;
  focusVessel = data.focus;
  loading_ = true;
  for (const VesselBlock &b : data.vessels) {
    Vessel *v = build(b.name, b.className);
    if (!v) {
      log_->error("vessel " + b.name + " skipped", path, b.line);
      continue;
    }
    loadVesselState(*this, *v, path, b);
    // One in flight that rests on its touchdown points is in touch with the
    // ground already: its next step records no touchdown.
    v->touching = !v->landed && physics::lowestPoint(*v, planet) < 1e-6;
    v->finishSetup();
    if (auto *v2 = callbacksOf(v->iface)) {
      CallingScope calling(*this, v);
      v2->clbkPostCreation();
    }
  }
  loading_ = false;
  log_->info("scenario loaded: " + path + " (" + std::to_string(order_.size()) + " vessels)");
}

}  // namespace sim

bool oapiReadScenario_nextline(FILEHANDLE scn, char *&line) {
  sim::VesselLines *lines = sim::activeScenarioCall().lines;
  if (!scn || scn != lines) {
    if (sim::World *w = sim::World::current())
      w->log().refused("oapiReadScenario_nextline on a handle of no load under way");
    return false;
  }
  return lines->next(line);
}
