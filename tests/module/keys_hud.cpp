// The pilot's two keys as the host hands them over: B starts the count, J
// commands a separation; held with Shift or Control, neither. And the
// launcher's HUD line, drawn also when memory runs out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/failing_new.h"
#include "tests/support/launcher.h"

namespace {

const DWORD KEY_K = 0x25, KEY_LALT = 0x38;  // the simulator's keyboard codes
const char *const SAT_LINES[] = {"PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0.8 0 3 700 0 1",
                                 "PAYLOAD Sat2 Varnell\\Sat Varnell\\Sat -0.8 0 3 700 0 1"};

TEST(keys_hud, modified_keys_releases_and_other_keys_are_not_consumed_and_change_nothing) {
  Flight f(ON_THE_PAD, 0.5);
  for (const DWORD key : {OAPI_KEY_J, OAPI_KEY_B}) {
    for (const DWORD held : {OAPI_KEY_LSHIFT, OAPI_KEY_RSHIFT, OAPI_KEY_LCONTROL, OAPI_KEY_RCONTROL})
      EXPECT_EQ(f.world.cockpit().pressKey(f.v, key, true, {held}), 0) << key << " with " << held;
    EXPECT_EQ(f.world.cockpit().pressKey(f.v, key, false, {}), 0) << key << " released";
  }
  EXPECT_EQ(f.world.cockpit().pressKey(f.v, KEY_K, true, {}), 0);
  f.world.step();
  EXPECT_EQ(configurationOf(*f.v), 0);
  EXPECT_EQ(f.world.find("L1-SEP"), nullptr);
  EXPECT_STREQ(f.world.cockpit().debugString(), "MET -10.0");

  EXPECT_EQ(f.world.cockpit().pressKey(f.v, OAPI_KEY_B, true, {KEY_LALT}), 1);  // Alt is not looked at
  f.world.step();
  EXPECT_STREQ(f.world.cockpit().debugString(), "MET -9.5");
}

TEST(keys_hud, J_twice_before_a_step_releases_once) {
  Flight f(inOrbit({"CONFIGURATION 1", SAT_LINES[0], SAT_LINES[1]}), 0.5);
  const size_t vessels = f.world.vessels().size();
  EXPECT_EQ(f.world.cockpit().pressKey(f.v, OAPI_KEY_J), 1);
  EXPECT_EQ(f.world.cockpit().pressKey(f.v, OAPI_KEY_J), 1);
  f.world.step();
  f.world.step();
  EXPECT_EQ(f.world.vessels().size(), vessels + 1);
  EXPECT_NE(f.world.find("Sat2"), nullptr);
  EXPECT_EQ(manifestOf(f.world, "L1"),
            std::vector<std::string>{"PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0.80 0.00 3.00 700.00 0.00 1.00"});
}

TEST(keys_hud, the_line_shows_the_upper_stage_RCS_propellant_at_100_100_in_either_configuration) {
  for (const char *configuration : {"CONFIGURATION 0", "CONFIGURATION 1"}) {
    SCOPED_TRACE(configuration);
    Flight f(inOrbit({configuration}));
    sim::HudFrame frame = f.world.cockpit().drawHud(f.v);
    const std::vector<sim::HudText> &drawn = frame.texts;
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(std::to_string(drawn[0].x) + "," + std::to_string(drawn[0].y) + " " + drawn[0].text,
              "100,100 Durvane RCS fuel: 75.000 kg");
    EXPECT_TRUE(frame.ownElements);  // the host's own HUD elements too

    tankOfSize(*f.v, 75)->mass = 12.3456;
    frame = f.world.cockpit().drawHud(f.v);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, "Durvane RCS fuel: 12.346 kg");
#ifndef _WIN32  // a text the host has no memory to keep stops in the callback, which draws on
    EXPECT_TRUE((failing_new::allocationFailures = 1, f.world.cockpit().drawHud(f.v)).texts.empty());
    EXPECT_TRUE(f.world.log().contains("L1: clbkDrawHUD stopped by an exception: std::bad_alloc"));
    EXPECT_EQ(f.world.cockpit().drawHud(f.v).texts.size(), 1u);
#endif
  }
}

}  // namespace
