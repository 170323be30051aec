// The pilot's two keys as the host hands them over, and the launcher's HUD line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

const DWORD KEY_K = 0x25, KEY_LALT = 0x38;  // the simulator's keyboard codes
const char *const SAT_LINES[] = {"PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0.8 0 3 700 0 1",
                                 "PAYLOAD Sat2 Varnell\\Sat Varnell\\Sat -0.8 0 3 700 0 1"};

TEST(pilot_keys, modified_keys_releases_and_other_keys_are_not_consumed_and_change_nothing) {
  Flight f(inOrbit({"CONFIGURATION 0"}), 0.5);
  struct Press {
    DWORD key;
    bool down;
    std::vector<DWORD> held;
  };
  const Press ignored[] = {{OAPI_KEY_J, true, {OAPI_KEY_LSHIFT}},
                           {OAPI_KEY_J, true, {OAPI_KEY_RSHIFT}},
                           {OAPI_KEY_B, true, {OAPI_KEY_LCONTROL}},
                           {OAPI_KEY_B, true, {OAPI_KEY_RCONTROL}},
                           {OAPI_KEY_J, false, {}},
                           {OAPI_KEY_B, false, {}},
                           {KEY_K, true, {}}};
  for (const Press &p : ignored) EXPECT_EQ(f.world.pressKey(f.v, p.key, p.down, p.held), 0) << p.key;
  f.world.step();
  EXPECT_EQ(configurationOf(*f.v), 0);
  EXPECT_EQ(f.world.find("L1-SEP"), nullptr);
  EXPECT_STREQ(f.world.debugString, "MET -10.0");

  EXPECT_EQ(f.world.pressKey(f.v, OAPI_KEY_B, true, {KEY_LALT}), 1);  // Alt is not looked at
  f.world.step();
  EXPECT_STREQ(f.world.debugString, "MET -9.5");
}

TEST(pilot_keys, B_again_after_launch_changes_nothing_and_J_twice_before_a_step_releases_once) {
  Flight f(inOrbit({"CONFIGURATION 1", SAT_LINES[0], SAT_LINES[1]}), 0.5);
  EXPECT_EQ(f.world.pressKey(f.v, OAPI_KEY_B), 1);
  f.world.step();
  EXPECT_EQ(f.world.pressKey(f.v, OAPI_KEY_B), 1);
  f.world.step();
  EXPECT_STREQ(f.world.debugString, "MET -9.0");

  const size_t vessels = f.world.vessels().size();
  EXPECT_EQ(f.world.pressKey(f.v, OAPI_KEY_J), 1);
  EXPECT_EQ(f.world.pressKey(f.v, OAPI_KEY_J), 1);
  f.world.step();
  f.world.step();
  EXPECT_EQ(f.world.vessels().size(), vessels + 1);
  EXPECT_NE(f.world.find("Sat2"), nullptr);
  EXPECT_EQ(manifestOf(f.world, "L1"),
            std::vector<std::string>{"PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0.80 0.00 3.00 700.00 0.00 1.00"});
}

TEST(launcher_hud, the_line_shows_the_upper_stage_RCS_propellant_at_100_100_in_either_configuration) {
  for (const char *configuration : {"CONFIGURATION 0", "CONFIGURATION 1"}) {
    SCOPED_TRACE(configuration);
    Flight f(inOrbit({configuration}));
    std::vector<sim::HudText> drawn = f.world.drawHud(f.v);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, "Durvane RCS fuel: 75.000 kg");
    EXPECT_EQ(drawn[0].x, 100);
    EXPECT_EQ(drawn[0].y, 100);
    EXPECT_EQ(f.world.defaultHudDraws, 1);  // the host's own HUD first

    tankOfSize(*f.v, 75)->mass = 12.3456;
    drawn = f.world.drawHud(f.v);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, "Durvane RCS fuel: 12.346 kg");
  }
}

}  // namespace
