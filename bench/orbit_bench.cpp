// Orbit propagation: satellites coasting in low orbit, one executive step per
// iteration (gravity, the thin air at 300 km, the rigid-body integration).
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "sim/physics/planet/orbit.h"
#include "sim/world/world.h"

namespace {

const char *const kSatClass = "Varnell\\Sat";  // a shipped class without a module
const double kOrbitAlt = 300e3;                // [m]

// Circular orbits, each in a plane of its own so the vessels never meet.
void placeInOrbit(sim::World &w, int count) {
  const double r = w.planet.radius + kOrbitAlt;  // [m]
  const double v = std::sqrt(w.planet.gm / r);   // [m/s]
  for (int i = 0; i < count; ++i) {
    const double incl = M_PI * i / count;  // [rad]
    VESSELSTATUS s{};
    s.rpos = _V(r, 0, 0);
    s.rvel = _V(0, v * std::sin(incl), v * std::cos(incl));
    s.vrot = _V(0.01, 0, 0);  // [rad/s], a slow tumble
    w.createVessel("Sat" + std::to_string(i), kSatClass, &s);
  }
}

void BM_OrbitCoast(benchmark::State &state) {
  const int count = static_cast<int>(state.range(0));
  sim::World w(".", "");
  placeInOrbit(w, count);
  if (static_cast<int>(w.vessels().size()) != count) {
    state.SkipWithError("the satellite class did not load");
    return;
  }
  for (auto _ : state) w.step();
  const double steps = static_cast<double>(state.iterations());
  state.counters["steps/s"] = benchmark::Counter(steps, benchmark::Counter::kIsRate);
  state.counters["vessel-steps/s"] = benchmark::Counter(steps * count, benchmark::Counter::kIsRate);
  state.counters["sim-s/s"] = benchmark::Counter(steps * w.dt, benchmark::Counter::kIsRate);
  state.SetLabel("time is per step of " + std::to_string(count) + " vessel(s)");
}

}  // namespace

BENCHMARK(BM_OrbitCoast)->Arg(1)->Arg(10)->Arg(100)->ArgName("vessels");
