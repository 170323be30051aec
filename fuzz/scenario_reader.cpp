// Fuzzes the scenario reader through a whole load: the blocks, the vessel
// headers, class look-up and the default state keys each vessel hands back.
// Whatever loads must save, and the saved file must load again without a
// single complaint, giving the same vessels in the same order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_tree.h"
#include "sim/world/world.h"

namespace {

using VesselList = std::vector<std::pair<std::string, std::string>>;  // name, class

VesselList vesselsOf(const sim::World &w) {
  VesselList out;
  for (const sim::Vessel *v : w.vessels()) out.emplace_back(v->name, v->className);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const fuzz::Tree &tree = fuzz::Tree::get();
  tree.write("Input.scn", data, size);
  VesselList loaded;
  {
    sim::World w(tree.dir(), "");
    fuzz::require(w.loadScenario(tree.path("Input.scn")), "a scenario file that exists loads", w.log());
    loaded = vesselsOf(w);
    fuzz::require(w.saveScenario(tree.path("Saved.scn")), "a loaded scenario saves", w.log());
  }
  sim::World again(tree.dir(), "");
  again.loadScenario(tree.path("Saved.scn"));
  fuzz::require(again.log().errorCount() == 0 && again.log().refusedCount() == 0,
                "a saved scenario loads without complaint", again.log());
  fuzz::require(vesselsOf(again) == loaded, "a saved scenario gives back the vessels that were saved", again.log());
  return 0;
}
