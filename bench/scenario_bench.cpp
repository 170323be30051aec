// Scenario files: loading one (every vessel built from its class file and
// meshes, then handed its lines) and saving it again.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "sim/world/world.h"

namespace {

// Module-less shipped classes, so the figure is the host's own work.
struct BenchClass {
  const char *name;
  bool hasTank;
};
const BenchClass kClasses[] = {{"Varnell\\Sat", true},
                               {"Varnell\\Varnellstg0", false},
                               {"Varnell\\Varnellplf1", false},
                               {"Varnell\\Varnellplf2", false}};

// Every class both landed and in orbit, in turn.
std::string vesselBlock(int i) {
  const BenchClass &c = kClasses[i % 4];
  std::string block = "V" + std::to_string(i) + ":" + c.name + "\n";
  if ((i / 4) % 2 == 0)
    block += "  STATUS Landed Earth\n  POS -80.6 28.6\n  HEADING 90\n";
  else
    block += "  STATUS Orbiting Earth\n  RPOS 6771010 0 0\n  RVEL 0 4000 6500\n  AROT 10 -20 30\n  VROT 0.5 0 -1\n";
  if (c.hasTank) block += "  PRPLEVEL 0:0.5\n";
  return block + "END\n";
}

std::string scenarioText(int vessels) {
  std::string text =
      "BEGIN_DESC\nBenchmark scenario.\nEND_DESC\n"
      "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 61000.5\nEND_ENVIRONMENT\n"
      "BEGIN_FOCUS\n  Ship V0\nEND_FOCUS\nBEGIN_SHIPS\n";
  for (int i = 0; i < vessels; ++i) text += vesselBlock(i);
  return text + "END_SHIPS\n";
}

// A temporary folder holding the scenario, removed with it.
class ScenarioFile {
 public:
  explicit ScenarioFile(int vessels) {
    char pattern[] = "/tmp/varnell-bench-XXXXXX";
    if (mkdtemp(pattern)) dir_ = pattern;
    std::ofstream(path()) << scenarioText(vessels);
  }
  ~ScenarioFile() {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }
  bool ok() const { return !dir_.empty(); }
  std::string path() const { return dir_ + "/Bench.scn"; }
  std::string savedPath() const { return dir_ + "/Saved.scn"; }

 private:
  std::string dir_;
};

void countScenarios(benchmark::State &state, int vessels) {
  const double n = static_cast<double>(state.iterations());
  state.counters["scenarios/s"] = benchmark::Counter(n, benchmark::Counter::kIsRate);
  state.counters["vessels/s"] = benchmark::Counter(n * vessels, benchmark::Counter::kIsRate);
  state.SetLabel("time is per scenario of " + std::to_string(vessels) + " vessels");
}

// A fresh world each time, as the runner starts one; its teardown is counted.
void BM_ScenarioLoad(benchmark::State &state) {
  const int vessels = static_cast<int>(state.range(0));
  ScenarioFile file(vessels);
  for (auto _ : state) {
    sim::World w(".", "");
    if (!w.loadScenario(file.path()) || static_cast<int>(w.vessels().size()) != vessels || w.log().errorCount() != 0) {
      state.SkipWithError("the benchmark scenario did not load cleanly");
      break;
    }
  }
  countScenarios(state, vessels);
}

void BM_ScenarioSave(benchmark::State &state) {
  const int vessels = static_cast<int>(state.range(0));
  ScenarioFile file(vessels);
  sim::World w(".", "");
  if (!file.ok() || !w.loadScenario(file.path()) || static_cast<int>(w.vessels().size()) != vessels) {
    state.SkipWithError("the benchmark scenario did not load");
    return;
  }
  for (auto _ : state) {
    if (!w.saveScenario(file.savedPath())) {
      state.SkipWithError("the scenario could not be saved");
      break;
    }
  }
  countScenarios(state, vessels);
}

}  // namespace

// A handful of vessels, and a crowd of a thousand.
BENCHMARK(BM_ScenarioLoad)->Arg(20)->Arg(1000)->ArgName("vessels")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScenarioSave)->Arg(20)->Arg(1000)->ArgName("vessels")->Unit(benchmark::kMillisecond);
