// The launcher's scenario block written and read back: its own keys after the
// host's, its manifest after them, and what staging changed. A manifest keeps
// its tree through saving, through being handed on to a released dispenser,
// and through that dispenser's own saving.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/launcher.h"

namespace {

struct Row {
  unsigned short kind;
  const char *name;
  short parent;
  double x, y, z, mass, angle, fuel;  // as written, to hundredths [m], [kg], [deg], [fraction]
};

// Two stages that end at one entry (B, C), a stage without members (E), and
// numbers that round.
const std::vector<std::string> NESTED = {"STAGE A Varnell\\Dispenser Varnell\\Dispenser 0 0 1.234 450 0 1",
                                         "PAYLOAD a1 Varnell\\Sat Varnell\\Sat 1.2 -0.004 2.996 600 90 0.333",
                                         "STAGE B Varnell\\Dispenser Varnell\\Dispenser 0 0 3 450 0 1",
                                         "STAGE C Varnell\\Dispenser Varnell\\Dispenser 0 0 4 450 0 1",
                                         "PAYLOAD c1 Varnell\\Sat Varnell\\Sat -1.2 0 5 600 45 0.555",
                                         "ENDSTAGE",
                                         "ENDSTAGE",
                                         "STAGE E Varnell\\Dispenser Varnell\\Dispenser 0 0 6 450 0 1",
                                         "ENDSTAGE",
                                         "ENDSTAGE",
                                         "PAYLOAD top Varnell\\Sat Varnell\\Sat 0 0 7 300 0 1"};
const Row NESTED_ROWS[] = {
    {KIND_STAGE, "A", -1, 0, 0, 1.23, 450, 0, 1},       {KIND_PAYLOAD, "a1", 0, 1.2, 0, 3, 600, 90, 0.33},
    {KIND_STAGE, "B", 0, 0, 0, 3, 450, 0, 1},           {KIND_STAGE, "C", 2, 0, 0, 4, 450, 0, 1},
    {KIND_PAYLOAD, "c1", 3, -1.2, 0, 5, 600, 45, 0.56}, {KIND_STAGE, "E", 0, 0, 0, 6, 450, 0, 1},
    {KIND_PAYLOAD, "top", -1, 0, 0, 7, 300, 0, 1},
};

// The rows from slot `first` on; below a stage there when first is 1.
void expectManifest(const COMMON_VESSEL_EX &c, int first, const std::string &carrier) {
  int slot = first;
  for (const Row &r : NESTED_ROWS) {
    const PAYLOAD_ENTRY &e = c.entries[slot++];
    const short parent = static_cast<short>(r.parent == -1 ? first - 1 : r.parent + first);
    EXPECT_EQ(std::make_tuple(e.used, e.kind, e.parent, std::string(e.name)),
              std::make_tuple(true, r.kind, parent, std::string(r.name)))
        << carrier;
    EXPECT_EQ(std::vector<double>({e.mesh.offset.x, e.mesh.offset.y, e.mesh.offset.z, e.mass, e.rotAngle, e.fuel}),
              std::vector<double>({r.x, r.y, r.z, r.mass, r.angle, r.fuel}))
        << carrier << " " << r.name;
  }
  EXPECT_FALSE(c.entries[slot].used) << carrier;
}

// CONFIGURATION 7 builds the full stack, saved as 0. The last entry's numbers
// are too large for its line: it is cut, not written past its end, and turned
// away when read again.
TEST(launcher_saving, a_launcher_on_the_pad_saves_its_keys_after_the_hosts_and_before_the_manifest_and_reads_back) {
  std::string scenario;
  {
    sim::World world(".", "");
    ASSERT_NE(loadLauncher(world, {"STATUS Landed Earth", "POS -80.6 28.6", "HEADING 90", "CONFIGURATION 7",
                                   "FAIRING 1", "STAGE Kick1 Varnell\\Sat Varnell\\Sat 0 0 2.5 950 0 1",
                                   "PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 1.2 0 3.1 600 90 0.5", "ENDSTAGE",
                                   "PAYLOAD Big Varnell\\Sat Varnell\\Sat 1e300 1e300 1e300 1e300 0 1"}),
              nullptr);
    scenario = savedScenario(world);
  }
  const std::vector<std::string> block = blockOf(scenario, "L1");
  std::vector<std::string> keys;
  for (const std::string &line : block) keys.push_back(line.substr(0, line.find(' ')));
  EXPECT_EQ(keys, (std::vector<std::string>{"STATUS", "POS", "HEADING", "PRPLEVEL", "CONFIGURATION", "FAIRING", "STAGE",
                                            "PAYLOAD", "ENDSTAGE", "PAYLOAD"}));
  ASSERT_EQ(block.size(), 10u);
  EXPECT_EQ(block[4], "CONFIGURATION 0");
  EXPECT_EQ(block[5], "FAIRING 1");
  EXPECT_EQ(block[7], "PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 1.20 0.00 3.10 600.00 90.00 0.50");
  EXPECT_EQ(block[9].size(), std::string("PAYLOAD ").size() + 1023);

  sim::World world(".", "");
  ASSERT_TRUE(loadSaved(world, scenario));
  const VARNELL *l = launcherOf(world.find("L1"));
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->configuration, 0);
  EXPECT_TRUE(l->fairingAttached);
  EXPECT_EQ(l->met, -10);
  EXPECT_EQ(usedMeshes(*world.find("L1")), 4 + 2);
}

TEST(launcher_saving, a_launcher_saved_after_staging_and_jettison_reads_back_as_the_upper_stage_with_its_propellant) {
  std::string scenario;
  {
    sim::World world(".", "");
    VARNELL *l = loadLauncher(world, inOrbit({"FAIRING 1"}));
    ASSERT_NE(l, nullptr);
    stage(*l);
    l->JettisonFairing();
    sim::Vessel &v = *world.find("L1");
    ASSERT_EQ(v.tanks.size(), 2u);
    v.tanks[0].mass = 12345;  // upper stage [kg]
    v.tanks[1].mass = 40;     // attitude control [kg]
    scenario = savedScenario(world);
  }
  const std::vector<std::string> block = blockOf(scenario, "L1");
  EXPECT_EQ(std::count(block.begin(), block.end(), "CONFIGURATION 1"), 1);
  EXPECT_EQ(std::count(block.begin(), block.end(), "FAIRING 1"), 0);

  sim::World world(".", "");
  ASSERT_TRUE(loadSaved(world, scenario));
  VARNELL *l = launcherOf(world.find("L1"));
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->configuration, 1);
  EXPECT_FALSE(l->fairingAttached);
  EXPECT_EQ(usedMeshes(*world.find("L1")), 1);
  EXPECT_EQ(l->phBooster, nullptr);
  EXPECT_EQ(world.find("L1")->tanks.size(), 2u);
  EXPECT_NEAR(l->GetPropellantMass(l->phUpperStage), 12345, 1e-6);
  EXPECT_NEAR(l->GetPropellantMass(l->phRcs), 40, 1e-6);
}

// Saved by the launcher, read again, handed on to a dispenser released from
// it, saved by that and read again.
TEST(launcher_saving, a_nested_manifest_keeps_its_tree_through_saving_forwarding_and_saving_again) {
  std::vector<std::string> carried = {"STAGE D Varnell\\Dispenser Varnell\\Dispenser 0 0 0 450 0 1"};
  carried.insert(carried.end(), NESTED.begin(), NESTED.end());
  carried.push_back("ENDSTAGE");
  std::string scenario;
  {
    sim::World world(".", "");
    ASSERT_NE(loadLauncher(world, inOrbit(carried)), nullptr);
    scenario = savedScenario(world);
  }
  {
    sim::World world(".", "");
    ASSERT_TRUE(loadSaved(world, scenario));
    VARNELL *l = launcherOf(world.find("L1"));
    ASSERT_NE(l, nullptr);
    EXPECT_STREQ(l->entries[0].name, "D");
    expectManifest(*l, 1, "launcher");

    ASSERT_NE(l->ReleaseNextStage(), nullptr);
    world.step();
    ASSERT_NE(world.find("D"), nullptr);
    expectManifest(*static_cast<COMMON_VESSEL_EX *>(world.find("D")->iface), 0, "dispenser");
    scenario = savedScenario(world);
  }
  sim::World world(".", "");
  ASSERT_TRUE(loadSaved(world, scenario));
  ASSERT_NE(world.find("D"), nullptr);
  expectManifest(*static_cast<COMMON_VESSEL_EX *>(world.find("D")->iface), 0, "dispenser read again");
  EXPECT_EQ(usedMeshes(*world.find("D")), 1 + static_cast<int>(std::size(NESTED_ROWS)));
}

}  // namespace
