// The default mission as `varnell fly` runs it: the launch scenario under its
// pilot program, from the pad to the last satellite's release and the
// program's end, with the events and the vessel table written out (here into
// memory). One iteration is one whole mission.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "sim/runner/commands.h"

namespace {

// The simulated time of the flight, from the runner's closing line
// "flew <t> s in ..." [s]; a negative value when there is none.
double flownSeconds(const std::string &output) {
  const std::size_t at = output.rfind("\nflew ");
  double t = -1;
  if (at == std::string::npos || std::sscanf(output.c_str() + at, "\nflew %lf s", &t) != 1) return -1;
  return t;
}

void BM_DefaultMission(benchmark::State &state) {
  sim::runner::FlyOptions options;  // the default mission with the pilot beside it, at the default step
  options.root = ".";               // the benchmark already runs inside the simulator tree
  double simSeconds = 0;            // [s]
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream problems;
    const int status = sim::runner::runFly(options, out, problems, false);
    const double flown = flownSeconds(out.str());
    if (status != 0 || flown <= 0) {
      state.SkipWithError(("the mission did not fly: " + out.str()).c_str());
      break;
    }
    simSeconds += flown;
  }
  const double missions = static_cast<double>(state.iterations());
  state.counters["s/mission"] = benchmark::Counter(missions, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["simulated-s"] = benchmark::Counter(simSeconds, benchmark::Counter::kIsRate);
  state.SetLabel("time is per mission of " + std::to_string(static_cast<int>(simSeconds / missions)) + " s flown");
}

}  // namespace

// Rates in wall time: simulated seconds per wall second, missions per wall second.
BENCHMARK(BM_DefaultMission)->Unit(benchmark::kSecond)->UseRealTime();
