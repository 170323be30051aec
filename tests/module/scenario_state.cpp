// The launcher's scenario block written and read back: its own keys after the
// host's, its manifest after them, and a flight saved and loaded again at any
// point flying on as it would have. (Reloads after staging, jettison and the
// release of nested stages: the soak flight.)
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

// CONFIGURATION 7 builds the full stack, saved as 0.
TEST(launcher_saving, a_launcher_on_the_pad_saves_its_keys_after_the_hosts_and_before_the_manifest_and_reads_back) {
  const std::string scenario = savedScenario(
      Flight(onThePad({"CONFIGURATION 7", "FAIRING 1", "STAGE Kick1 Varnell\\Sat Varnell\\Sat 0 0 2.5 950 0 1",
                       "PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 1.2 0 3.1 600 90 0.5", "ENDSTAGE"}))
          .world);
  const std::vector<std::string> block = blockOf(scenario, "L1");
  std::vector<std::string> keys;
  for (const std::string &line : block) keys.push_back(line.substr(0, line.find(' ')));
  EXPECT_EQ(keys, (std::vector<std::string>{"STATUS", "POS", "HEADING", "PRPLEVEL", "CONFIGURATION", "FAIRING",
                                            "SAMPLER", "STAGE", "PAYLOAD", "ENDSTAGE"}));
  ASSERT_EQ(block.size(), 10u);
  EXPECT_EQ(block[4], "CONFIGURATION 0");
  EXPECT_EQ(block[5], "FAIRING 1");
  EXPECT_EQ(block[6], "SAMPLER 0 0");  // not launched: no MET; the clock at 0, no sample taken yet: no airspeed
  EXPECT_EQ(block[8], "PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 1.20 0.00 3.10 600.00 90.00 0.50");

  sim::World world(".", "");
  ASSERT_TRUE(loadSaved(world, scenario));
  sim::Vessel *v = world.find("L1");
  ASSERT_NE(v, nullptr);
  world.step();
  EXPECT_EQ(configurationOf(*v), 0);
  EXPECT_TRUE(fairingOn(world, *v));
  EXPECT_STREQ(world.cockpit().debugString(), "MET -10.0");
  EXPECT_EQ(usedMeshes(*v), 4 + 2);
}

// A launcher counting down, launched and flown straight up at steps of 0.02 s,
// once without a break and once saved at a cut, its world destroyed and the
// saved text loaded into a new one: in the count, in the booster's burn while
// its limiter takes the level down, after staging before and after the upper
// stage lights. It flies on as it would have: the limiter's steps, staging,
// ignition and the fairing's jettison come at the same steps (a world's time
// starts at 0 again with every load: the flight counts steps), and in the end
// it is where it would have been, to the millimetre, its clocks to the last bit.
TEST(launcher_saving, a_launcher_saved_and_loaded_in_flight_flies_on_as_it_would_have) {
  const int kSteps = 13500;  // the fairing goes at step 13008
  struct Flown {
    std::vector<std::string> events;  // "step vessel detail"
    VECTOR3 pos;                      // at the end [m]
    std::string timeline;             // its MET and STAGETIMER lines at the end, exact
  };
  const auto fly = [](int cut) {
    Flown flown;
    auto flight = std::make_unique<Flight>(ON_THE_PAD);
    flight->press(OAPI_KEY_B);
    sim::World *world = &flight->world;
    std::unique_ptr<sim::World> reloaded;
    for (int n = 1, start = 0; n < kSteps; ++n) {  // start: the step at which the world's clock read 0
      if (n == cut) {
        const std::string saved = world->scenarioText();
        flight.reset();
        reloaded = std::make_unique<sim::World>(".", "");
        reloaded->loadScenarioText("saved.scn", saved);
        EXPECT_EQ(reloaded->log().errorCount(), 0) << saved;
        // Its timeline is kept from the host's parser, which gets only CONFIGURATION of its own lines.
        for (const sim::ScenarioLine &l : reloaded->unknownLines(*reloaded->find("L1")))
          EXPECT_EQ(l.text.rfind("CONFIGURATION ", 0), 0u) << l.text;
        world = reloaded.get();
        start = n;
      }
      const size_t before = world->record().events().size();
      world->step();
      for (size_t i = before; i < world->record().events().size(); ++i) {
        const sim::Event &e = world->record().events()[i];
        flown.events.push_back(std::to_string(start + std::lround(e.t / world->dt)) + " " + e.vessel + " " + e.detail);
      }
    }
    flown.pos = world->find("L1")->pos;
    for (const std::string &line : blockOf(world->scenarioText(), "L1"))
      if (line.rfind("MET ", 0) == 0 || line.rfind("STAGETIMER ", 0) == 0) flown.timeline += line + "\n";
    return flown;
  };
  const Flown straight = fly(0);
  for (const char *e : {"4112 L1 HOVER 0.74", "5542 L1 HOVER 0.6", "11382 L1-SEP Varnell\\Varnellstg0 by L1",
                        "11883 L1 MAIN 1", "13008 Varnellplf1 Varnell\\Varnellplf1 by L1"})
    EXPECT_EQ(std::count(straight.events.begin(), straight.events.end(), e), 1) << e;
  // MET -7; in the limiter's steps, before a sample that leaves the level and before one that takes it down (at
  // 4376); after staging, before and after ignition.
  for (const int cut : {150, 4300, 4375, 11600, 12500}) {
    const Flown resumed = fly(cut);
    EXPECT_EQ(resumed.events, straight.events) << "cut at step " << cut;
    EXPECT_EQ(resumed.timeline, straight.timeline) << "cut at step " << cut;
    expectNear(resumed.pos, straight.pos, 1e-3, "cut at step " + std::to_string(cut));
  }
}

}  // namespace
