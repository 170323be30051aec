// The default mission as `varnell fly` runs it: the launch scenario under its
// pilot program, from the pad to the last satellite's release and the
// program's end, with the check before it and the events and the vessel table
// written out (here into memory). One iteration is one whole mission; its
// simulated seconds per wall second are its speed relative to real time.
//
// Then a day's coast of the mission's vessels as they are at its end, at time
// acceleration 1000 with nobody at the controls: one iteration is one day. And
// the climb alone: ten seconds of the stack under thrust in dense air.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "sim/pilot/pilot.h"
#include "sim/runner/commands.h"
#include "sim/world/world.h"

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
  state.counters["x-real-time"] = benchmark::Counter(simSeconds, benchmark::Counter::kIsRate);
  state.SetLabel("time is per mission of " + std::to_string(static_cast<int>(simSeconds / missions)) + " s flown");
}

const double kDay = 86400;      // [s]
const double kTimeWarp = 1000;  // the pilot's highest time acceleration

// The launch scenario with its pilot program at the controls.
struct Mission {
  std::vector<std::string> errors;
  sim::pilot::Pilot pilot{sim::pilot::readProgram("Scenarios/Varnell/Launch.pilot", errors)};
  bool load(sim::World &w) {
    if (!errors.empty() || !w.loadScenario("Scenarios/Varnell/Launch.scn")) return false;
    w.pilot = [this](sim::World &world) { pilot.act(world); };
    return true;
  }
};

// The world at the end of the default mission, flown under its pilot
// program, which then lets go of every control.
bool flyMission(sim::World &w) {
  Mission mission;
  if (!mission.load(w)) return false;
  while (!mission.pilot.ended()) w.step();
  w.pilot = nullptr;
  for (double &level : w.cockpit().input) level = 0;
  return true;
}

// The climb: the stack under thrust in dense air, steered by the pilot, from
// 20 s (liftoff is at 10 s) for 500 frames of 0.02 s.
void BM_Ascent(benchmark::State &state) {
  const int frames = 500;
  for (auto _ : state) {
    state.PauseTiming();
    sim::World w(".", "");
    Mission mission;
    if (!mission.load(w)) {
      state.SkipWithError("the default mission did not load");
      break;
    }
    while (w.simTime() < 20) w.step();
    state.ResumeTiming();
    for (int i = 0; i < frames; ++i) w.step();
  }
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * frames, benchmark::Counter::kIsRate);
  state.SetLabel("time is per 10 s of the climb from 20 s, under thrust in dense air");
}

void BM_DayCoastAtTimeWarp1000(benchmark::State &state) {
  double simSeconds = 0;  // [s]
  size_t vessels = 0;
  for (auto _ : state) {
    state.PauseTiming();
    sim::World w(".", "");
    if (!flyMission(w)) {
      state.SkipWithError("the default mission did not load");
      break;
    }
    vessels = w.vessels().size();
    w.timeAcceleration = kTimeWarp;
    const double end = w.simTime() + kDay;  // [s]
    state.ResumeTiming();
    while (w.simTime() < end) w.step();
    state.PauseTiming();
    simSeconds += kDay;
    if (!w.diverged().empty()) state.SkipWithError("a vessel diverged");
    state.ResumeTiming();
  }
  state.counters["x-real-time"] = benchmark::Counter(simSeconds, benchmark::Counter::kIsRate);
  state.SetLabel("time is per day of " + std::to_string(vessels) + " vessels at time acceleration 1000");
}

}  // namespace

// Rates in wall time: simulated seconds per wall second, missions per wall second.
BENCHMARK(BM_DefaultMission)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_DayCoastAtTimeWarp1000)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_Ascent)->Unit(benchmark::kMillisecond)->Iterations(10);
