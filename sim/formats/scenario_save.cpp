// Saving the world as a scenario, every vessel through its own save path
// (the module's ovcSaveState, else its clbkSaveState).
#include <cstdio>

#include "sim/formats/scenario_handles.h"
#include "sim/formats/text.h"
#include "sim/platform/module.h"
#include "sim/world/world.h"

namespace sim {
namespace {

void saveVessel(World &w, Vessel &v, ScenarioWriter &out) {
  out.line(v.name + ":" + v.className);
  ScenarioCall &call = activeScenarioCall();
  const ScenarioCall outer = call;
  call.writer = &out;
  {
    CallingScope calling(w, &v);
    if (v.module && v.module->ovcSaveState)
      v.module->ovcSaveState(v.iface, &out);
    else if (auto *v2 = callbacksOf(v.iface))
      v2->clbkSaveState(&out);
  }
  call = outer;
  out.line("END");
}

}  // namespace

void ScenarioWriter::item(const std::string &key, const std::string &value) { line("  " + key + " " + value); }

void ScenarioWriter::line(const std::string &text) {
  out_ += text;
  out_ += '\n';
}

bool World::saveScenario(const std::string &path) const {
  const std::string text = scenarioText();
  std::FILE *f = std::fopen(path.c_str(), "w");
  if (!f) {
    log_->error("cannot write the scenario", path);
    return false;
  }
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  if (std::fclose(f) != 0) ok = false;
  if (!ok) log_->error("writing the scenario failed", path);
  return ok;
}

std::string World::scenarioText() const {
  std::string text;
  ScenarioWriter out(text);
  out.line("BEGIN_DESC");
  if (!scenarioDescription.empty()) out.line(scenarioDescription);
  out.line("END_DESC\n\nBEGIN_ENVIRONMENT");
  out.item("System", planetarySystem);
  out.item("Date", "MJD " + exactNumber(mjdAt(simt_)));
  out.line("END_ENVIRONMENT\n\nBEGIN_FOCUS");
  if (!focusVessel.empty()) out.item("Ship", focusVessel);
  out.line("END_FOCUS\n\nBEGIN_SHIPS");
  World &self = const_cast<World &>(*this);  // saving changes nothing, but modules get non-const interfaces
  const std::vector<Vessel *> vessels = order_;
  for (Vessel *v : vessels)
    if (fromHandle(v)) saveVessel(self, *v, out);
  out.line("END_SHIPS");
  return text;
}

}  // namespace sim

namespace {

sim::ScenarioWriter *writerOf(FILEHANDLE scn, const char *function) {
  sim::ScenarioWriter *out = sim::activeScenarioCall().writer;
  if (scn && scn == out) return out;
  if (sim::World *w = sim::World::current())
    w->log().refused(std::string(function) + " on a handle of no save under way");
  return nullptr;
}

}  // namespace

void oapiWriteScenario_int(FILEHANDLE scn, char *item, int i) {
  if (sim::ScenarioWriter *out = writerOf(scn, "oapiWriteScenario_int")) out->item(item ? item : "", std::to_string(i));
}

void oapiWriteScenario_string(FILEHANDLE scn, char *item, char *string) {
  if (sim::ScenarioWriter *out = writerOf(scn, "oapiWriteScenario_string"))
    out->item(item ? item : "", string ? string : "");
}
