// Fuzzes the class-file reader through vessel creation: the generic class keys
// (numbers, touchdown points, the class mesh and tank), then a few steps of
// flight, landed and in orbit, with whatever the file made of the vessel.
// A class that cannot be built must say why in the log.
#include <cstddef>
#include <cstdint>

#include "fuzz_tree.h"
#include "sim/world/world.h"

namespace {

const int kSteps = 3;  // enough for forces, integration and ground contact to see the class

VESSELSTATUS inOrbit() {
  VESSELSTATUS s{};
  s.rpos = _V(6.8e6, 0, 0);       // [m]
  s.rvel = _V(0, 1e3, 7.5e3);     // [m/s]
  s.vrot = _V(0.01, -0.02, 0.3);  // [rad/s]
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const fuzz::Tree &tree = fuzz::Tree::get();
  tree.write("Config/Vessels/Fuzzed.cfg", data, size);
  sim::World w(tree.dir(), "");
  const VESSELSTATUS orbit = inOrbit();
  const sim::Vessel *flying = w.createVessel("flying", "Fuzzed", &orbit);
  const sim::Vessel *landed = w.createVessel("landed", "Fuzzed", nullptr);
  fuzz::require((flying && landed) || w.log().errorCount() > 0, "a class that is not built is logged", w.log());
  for (int i = 0; i < kSteps; ++i) w.step();
  return 0;
}
