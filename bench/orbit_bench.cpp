// Orbit propagation: satellites coasting, one executive step per iteration
// (gravity, the thin air where there is any, the rigid-body integration);
// beside it the yardstick, a bare fourth-order Runge-Kutta step of one rigid
// body round a point-mass Earth with nothing of the host around it, and the
// ratio of the two measured in the same run.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "sim/physics/planet/orbit.h"
#include "sim/world/world.h"

namespace {

// The yardstick's body, one array: position and velocity [m, m/s], attitude
// (row-major, vessel to global) and spin (vessel frame [rad/s]), with the
// inertia per unit mass of a small satellite. Gravity alone; the spin follows
// Euler's equations without torque, the attitude dR/dt = R W as the host turns it.
const int kR = 0, kV = 3, kRot = 6, kW = 15, kState = 18;
struct BareBody {
  double y[kState];
};
const double kGm = 3.986004418e14, kPmi[3] = {2, 5, 9};  // [m^3/s^2], [m^2]

void bareRates(const double *b, double *d) {
  const double *r = b + kR, *w = b + kW;
  const double r2 = r[0] * r[0] + r[1] * r[1] + r[2] * r[2];
  const double g = -kGm / (r2 * std::sqrt(r2));
  for (int i = 0; i < 3; ++i) d[kR + i] = b[kV + i], d[kV + i] = g * r[i];
  for (int i = 0; i < 3; ++i) {  // R W with W r = r x w
    const double *row = b + kRot + 3 * i;
    d[kRot + 3 * i] = -row[1] * w[2] + row[2] * w[1];
    d[kRot + 3 * i + 1] = row[0] * w[2] - row[2] * w[0];
    d[kRot + 3 * i + 2] = -row[0] * w[1] + row[1] * w[0];
  }
  d[kW] = -(kPmi[1] - kPmi[2]) * w[1] * w[2] / kPmi[0];
  d[kW + 1] = -(kPmi[2] - kPmi[0]) * w[2] * w[0] / kPmi[1];
  d[kW + 2] = -(kPmi[0] - kPmi[1]) * w[0] * w[1] / kPmi[2];
}

void bareStep(BareBody &b, double h) {
  double k[4][kState], t[kState];
  bareRates(b.y, k[0]);
  for (int s = 1; s < 4; ++s) {
    const double f = s < 3 ? h / 2 : h;
    for (int i = 0; i < kState; ++i) t[i] = b.y[i] + f * k[s - 1][i];
    bareRates(t, k[s]);
  }
  for (int i = 0; i < kState; ++i) b.y[i] += h / 6 * (k[0][i] + 2 * (k[1][i] + k[2][i]) + k[3][i]);
}

BareBody bareSatellite() {
  const double r = 6371010 + 300e3;
  return {{r, 0, 0, 0, 0, std::sqrt(kGm / r), 1, 0, 0, 0, 1, 0, 0, 0, 1, 0.01, 0, 0}};
}

// The processor time this thread has had [ns]: unlike the clock on the wall,
// it does not count the time other programs took the processor away.
double threadNanoseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return 1e9 * static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec);
}

// Nanoseconds of processor time a bare step takes here, now: the least of a
// few runs, which other programs' use of the caches inflates the least.
double bareStepNanoseconds() {
  double least = HUGE_VAL;
  for (int run = 0; run < 5; ++run) {
    BareBody b = bareSatellite();
    const int steps = 100000;
    const double start = threadNanoseconds();
    for (int i = 0; i < steps; ++i) bareStep(b, 0.02);
    benchmark::DoNotOptimize(b);
    least = std::min(least, (threadNanoseconds() - start) / steps);
  }
  return least;
}

void BM_BareStep(benchmark::State &state) {
  BareBody b = bareSatellite();
  for (auto _ : state) {
    bareStep(b, 0.02);
    benchmark::DoNotOptimize(b);
  }
  state.SetLabel("the yardstick: one rigid body round a point-mass Earth, RK4, no host");
}

const char *const kSatClass = "Varnell\\Sat";  // a shipped class without a module

// Circular orbits, each in a plane of its own so the vessels never meet.
void placeInOrbit(sim::World &w, int count, double altitude) {
  const double r = w.planet.radius + altitude;  // [m]
  const double v = std::sqrt(w.planet.gm / r);  // [m/s]
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
  placeInOrbit(w, count, state.range(1) * 1e3);
  if (static_cast<int>(w.vessels().size()) != count) {
    state.SkipWithError("the satellite class did not load");
    return;
  }
  const double bare = bareStepNanoseconds();  // [ns]
  const double start = threadNanoseconds();
  for (auto _ : state) w.step();
  const double steps = static_cast<double>(state.iterations());
  const double perVesselStep = (threadNanoseconds() - start) / (steps * count);
  // The host's vessel-step over the bare step, in this run, in processor time.
  state.counters["x-bare"] = perVesselStep / bare;
  state.counters["steps/s"] = benchmark::Counter(steps, benchmark::Counter::kIsRate);
  state.counters["vessel-steps/s"] = benchmark::Counter(steps * count, benchmark::Counter::kIsRate);
  state.counters["sim-s/s"] = benchmark::Counter(steps * w.dt, benchmark::Counter::kIsRate);
  state.SetLabel("time is per step of " + std::to_string(count) + " vessel(s)");
}

}  // namespace

BENCHMARK(BM_BareStep);
// In vacuum at 3000 km, above the air's top, from one vessel to a thousand;
// and in the upper air at 300 km and 250 km.
BENCHMARK(BM_OrbitCoast)
    ->Args({1, 3000})
    ->Args({10, 3000})
    ->Args({100, 3000})
    ->Args({1000, 3000})
    ->Args({1, 300})
    ->Args({1000, 300})
    ->Args({1, 250})
    ->ArgNames({"vessels", "km"});
