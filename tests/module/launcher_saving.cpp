// The launcher's scenario block written and read back: its own keys after the
// host's, its manifest after them, and what staging changed. A manifest keeps
// its tree through saving, through being handed on to a released dispenser,
// and through that dispenser's own saving.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

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
  sim::Vessel *v = world.find("L1");
  ASSERT_NE(v, nullptr);
  world.step();
  EXPECT_EQ(configurationOf(*v), 0);
  EXPECT_TRUE(fairingOn(world, *v));
  EXPECT_STREQ(world.debugString, "MET -10.0");
  EXPECT_EQ(usedMeshes(*v), 4 + 2);
}

TEST(launcher_saving, a_launcher_saved_after_staging_and_jettison_reads_back_as_the_upper_stage_with_its_propellant) {
  std::string scenario;
  {
    Flight f(inOrbit({"FAIRING 1"}));
    f.press(OAPI_KEY_J);
    f.world.dt = 0.5;
    while (fairingOn(f.world, *f.v) && f.world.simTime() < 60) f.world.step();
    ASSERT_FALSE(fairingOn(f.world, *f.v));
    ASSERT_EQ(f.v->tanks.size(), 2u);
    f.v->tanks[0].mass = 12345;  // upper stage [kg]
    f.v->tanks[1].mass = 40;     // attitude control [kg]
    scenario = savedScenario(f.world);
  }
  const std::vector<std::string> block = blockOf(scenario, "L1");
  EXPECT_EQ(std::count(block.begin(), block.end(), "CONFIGURATION 1"), 1);
  EXPECT_EQ(std::count(block.begin(), block.end(), "FAIRING 1"), 0);

  sim::World world(".", "");
  ASSERT_TRUE(loadSaved(world, scenario));
  sim::Vessel *v = world.find("L1");
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(configurationOf(*v), 1);
  EXPECT_FALSE(fairingOn(world, *v));
  EXPECT_EQ(usedMeshes(*v), 1);
  ASSERT_EQ(v->tanks.size(), 2u);
  EXPECT_NEAR(tankOfSize(*v, 21830)->mass, 12345, 1e-6);
  EXPECT_NEAR(tankOfSize(*v, 75)->mass, 40, 1e-6);
}

// Two stages that end at one entry (B, C), a stage without members (E), and
// numbers that round; carried by the dispenser D.
const std::vector<std::string> NESTED = {"STAGE D Varnell\\Dispenser Varnell\\Dispenser 0 0 0 450 0 1",
                                         "STAGE A Varnell\\Dispenser Varnell\\Dispenser 0 0 1.234 450 0 1",
                                         "PAYLOAD a1 Varnell\\Sat Varnell\\Sat 1.2 -0.004 2.996 600 90 0.333",
                                         "STAGE B Varnell\\Dispenser Varnell\\Dispenser 0 0 3 450 0 1",
                                         "STAGE C Varnell\\Dispenser Varnell\\Dispenser 0 0 4 450 0 1",
                                         "PAYLOAD c1 Varnell\\Sat Varnell\\Sat -1.2 0 5 600 45 0.555",
                                         "ENDSTAGE",
                                         "ENDSTAGE",
                                         "STAGE E Varnell\\Dispenser Varnell\\Dispenser 0 0 6 450 0 1",
                                         "ENDSTAGE",
                                         "ENDSTAGE",
                                         "PAYLOAD top Varnell\\Sat Varnell\\Sat 0 0 7 300 0 1",
                                         "ENDSTAGE"};
// As written: to hundredths, one closing line per stage that ends.
const std::vector<std::string> NESTED_SAVED = {
    "STAGE D Varnell\\Dispenser Varnell\\Dispenser 0.00 0.00 0.00 450.00 0.00 1.00",
    "STAGE A Varnell\\Dispenser Varnell\\Dispenser 0.00 0.00 1.23 450.00 0.00 1.00",
    "PAYLOAD a1 Varnell\\Sat Varnell\\Sat 1.20 -0.00 3.00 600.00 90.00 0.33",
    "STAGE B Varnell\\Dispenser Varnell\\Dispenser 0.00 0.00 3.00 450.00 0.00 1.00",
    "STAGE C Varnell\\Dispenser Varnell\\Dispenser 0.00 0.00 4.00 450.00 0.00 1.00",
    "PAYLOAD c1 Varnell\\Sat Varnell\\Sat -1.20 0.00 5.00 600.00 45.00 0.56",
    "ENDSTAGE",
    "ENDSTAGE",
    "STAGE E Varnell\\Dispenser Varnell\\Dispenser 0.00 0.00 6.00 450.00 0.00 1.00",
    "ENDSTAGE",
    "ENDSTAGE",
    "PAYLOAD top Varnell\\Sat Varnell\\Sat 0.00 0.00 7.00 300.00 0.00 1.00",
    "ENDSTAGE"};

// Saved by the launcher, read again, handed on to the dispenser released from
// it, saved by that and read again: the dispenser carries all but itself. (A
// -0.00 read back is 0 like any other, and written as 0.00 once it is moved.)
TEST(launcher_saving, a_nested_manifest_keeps_its_tree_through_saving_forwarding_and_saving_again) {
  std::vector<std::string> carried(NESTED_SAVED.begin() + 1, NESTED_SAVED.end() - 1);
  carried[1] = "PAYLOAD a1 Varnell\\Sat Varnell\\Sat 1.20 0.00 3.00 600.00 90.00 0.33";
  std::string scenario;
  {
    sim::World world(".", "");
    ASSERT_NE(loadLauncher(world, releasing(NESTED)), nullptr);
    scenario = savedScenario(world);
    EXPECT_EQ(manifestOf(world, "L1"), NESTED_SAVED);
  }
  {
    sim::World world(".", "");
    ASSERT_TRUE(loadSaved(world, scenario));
    EXPECT_EQ(manifestOf(world, "L1"), NESTED_SAVED);
    world.pressKey(world.find("L1"), OAPI_KEY_J);
    world.step();
    world.step();
    ASSERT_NE(world.find("D"), nullptr);
    EXPECT_EQ(manifestOf(world, "L1"), std::vector<std::string>());
    EXPECT_EQ(manifestOf(world, "D"), carried);
    scenario = savedScenario(world);
  }
  sim::World world(".", "");
  ASSERT_TRUE(loadSaved(world, scenario));
  ASSERT_NE(world.find("D"), nullptr);
  EXPECT_EQ(manifestOf(world, "D"), carried);
  EXPECT_EQ(usedMeshes(*world.find("D")), 1 + 7);
}

}  // namespace
