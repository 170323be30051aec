// A stage's manifest travels to it as messages, which it takes in at its first
// step; the message module keeps nothing across a save and a load. A save that
// falls between the release and that step must still keep the manifest: the
// soak flight found satellites lost that way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "launcher/varnell.h"
#include "sim/world.h"
#include "tests/support/launcher.h"

namespace {

// The upper stage in orbit, fairing gone, with a dispenser carrying one satellite.
const char *const kUpperStage =
    "BEGIN_SHIPS\nL1:Varnell\n  STATUS Orbiting Earth\n  RPOS 7000000 0 0\n  RVEL 0 7546 0\n"
    "  AROT 0 0 0\n  VROT 0 0 0\n  CONFIGURATION 1\n"
    "  STAGE D1 Varnell\\Dispenser Varnell\\Dispenser 0 0 25 450 0 1\n"
    "  PAYLOAD S1 Varnell\\Sat Varnell\\Sat 0.8 0 26 600 0 0.5\n  ENDSTAGE\nEND\nEND_SHIPS\n";

int usedEntries(const sim::Vessel *v) { return usedEntries(*static_cast<const COMMON_VESSEL_EX *>(v->iface)); }

TEST(stage_handoff, a_dispenser_saved_before_its_first_step_keeps_the_manifest_handed_to_it) {
  const std::string dir = makeScratchDir("varnell-handoff-");
  std::ofstream(dir + "/Upper.scn") << kUpperStage;
  auto world = std::make_unique<sim::World>(".", "");
  ASSERT_TRUE(world->loadScenario(dir + "/Upper.scn"));
  world->pressKey(world->find("L1"), OAPI_KEY_J);
  world->step();  // the release: D1 exists, its manifest still on the way
  ASSERT_NE(world->find("D1"), nullptr);
  ASSERT_TRUE(world->saveScenario(dir + "/Saved.scn"));
  world.reset();

  world = std::make_unique<sim::World>(".", "");
  ASSERT_TRUE(world->loadScenario(dir + "/Saved.scn"));
  std::filesystem::remove_all(dir);
  sim::Vessel *d1 = world->find("D1");
  ASSERT_NE(d1, nullptr);
  EXPECT_EQ(usedEntries(d1), 1);
  EXPECT_DOUBLE_EQ(d1->emptyMass, 450 + 600);  // the satellite is weighed from the load on
  world->pressKey(d1, OAPI_KEY_J);
  world->step();
  ASSERT_NE(world->find("S1"), nullptr);
  EXPECT_DOUBLE_EQ(world->find("S1")->tanks.at(0).mass, 50);  // half of its 100 kg
  EXPECT_EQ(usedEntries(d1), 0);
}

}  // namespace
