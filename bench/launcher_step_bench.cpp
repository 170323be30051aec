// The launcher's flight sequencer: one clbkPostStep of a launcher in flight,
// through the loaded module as the executive calls it, in either stack
// configuration. The clock advances by one step per call, so the airspeed
// sampler and the timelines run as in flight; the world itself stands still.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "sim/world/world.h"
#include "tests/scratch_dir.h"

namespace {

const double kStep = 0.02;  // the host's default step [s]
// Calls made before timing: the count is past liftoff and the upper stage past
// its ignition window, so what is timed is the steady flight of each [s].
const double kSettleTime = 15;

// 10 km up and climbing, under way with the default mission's manifest.
std::string launcherScenario(int configuration) {
  std::string text =
      "BEGIN_SHIPS\nL1:Varnell\n  STATUS Orbiting Earth\n  RPOS 6381010 0 0\n  RVEL 300 400 0\n"
      "  AROT 0 0 0\n  VROT 0 0 0\n  CONFIGURATION " +
      std::to_string(configuration) + "\n";
  if (configuration == 0) text += "  FAIRING 1\n";
  return text +
         "  STAGE D1 Varnell\\Dispenser Varnell\\Dispenser 0.00 0.00 25.00 450.00 0.00 1.00\n"
         "  PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0.80 0.00 27.20 700.00 0.00 1.00\n"
         "  PAYLOAD Sat2 Varnell\\Sat Varnell\\Sat -0.80 0.00 27.20 700.00 0.00 1.00\n"
         "  ENDSTAGE\nEND\nEND_SHIPS\n";
}

sim::Vessel *loadLauncher(sim::World &w, int configuration) {
  const std::string dir = makeScratchDir("varnell-bench-");
  std::ofstream(dir + "/Launcher.scn") << launcherScenario(configuration);
  const bool loaded = w.loadScenario(dir + "/Launcher.scn");
  std::filesystem::remove_all(dir);
  return loaded ? w.find("L1") : nullptr;
}

void BM_LauncherPostStep(benchmark::State &state) {
  const int configuration = static_cast<int>(state.range(0));
  sim::World w(".", "");
  sim::Vessel *launcher = loadLauncher(w, configuration);
  auto *callbacks = launcher ? sim::callbacksOf(launcher->iface) : nullptr;
  if (!callbacks || w.log().errorCount() != 0) {
    state.SkipWithError("the launcher did not load");
    return;
  }
  w.cockpit().pressKey(launcher, OAPI_KEY_B);
  double simt = 0;  // [s]
  sim::CallingScope calling(w, launcher);
  for (; simt < kSettleTime; simt += kStep) callbacks->clbkPostStep(simt, kStep, w.mjd);
  for (auto _ : state) {
    callbacks->clbkPostStep(simt, kStep, w.mjd);
    simt += kStep;
  }
  const double calls = static_cast<double>(state.iterations());
  state.counters["s/call"] = benchmark::Counter(calls, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.SetLabel("time is per clbkPostStep call");
}

}  // namespace

BENCHMARK(BM_LauncherPostStep)->Arg(0)->Arg(1)->ArgName("configuration")->Unit(benchmark::kNanosecond);
