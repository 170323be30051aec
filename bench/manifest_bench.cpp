// The manifest reader: payload lines as a scenario hands them to a carrier,
// each loading its payload's mesh as the reader does.
#include <benchmark/benchmark.h>

#include "payload/common_vessel_ex.h"
#include "sim/world/world.h"

namespace {

const char *const kLine = "PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 1.2 0 3.1 600 90 0.5";

// A full manifest per iteration, then emptied, so every line finds a free slot.
void BM_ManifestLine(benchmark::State &state) {
  sim::World w(".", "");
  COMMON_VESSEL_EX carrier(w.createVessel("Carrier", "Varnell\\Sat", nullptr));
  for (auto _ : state) {
    for (int i = 0; i < MAX_PAYLOAD_ENTRIES; ++i) carrier.ParseScenarioLine(kLine);
    for (PAYLOAD_ENTRY &e : carrier.entries) e.used = false;
  }
  if (!carrier.entries[MAX_PAYLOAD_ENTRIES - 1].name[0] || w.log().errorCount() != 0) {
    state.SkipWithError("the payload line was not taken in");
    return;
  }
  const double lines = static_cast<double>(state.iterations()) * MAX_PAYLOAD_ENTRIES;
  state.counters["lines/s"] = benchmark::Counter(lines, benchmark::Counter::kIsRate);
  state.counters["s/line"] = benchmark::Counter(lines, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.SetLabel("time is per manifest of " + std::to_string(MAX_PAYLOAD_ENTRIES) + " lines");
}

}  // namespace

BENCHMARK(BM_ManifestLine)->Unit(benchmark::kMicrosecond);
