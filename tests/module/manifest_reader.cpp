// The manifest reader, as a launcher takes in its scenario block and messages:
// nested entries, and lines that do not read whole turned away with a word in
// the host's log. What it read shows in the manifest the launcher saves. And
// the launcher's scenario block written and read back: its own keys after the
// host's, its manifest after them, and a flight saved and loaded again at any
// point flying on as it would have. (Reloads after staging, jettison and the
// release of nested stages: the soak flight.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

const int MAX_ENTRIES = 50;  // slots in a carrier's manifest

// An entry as read, or as saved: numbers to hundredths.
std::string payload(const std::string &name, const std::string &numbers = "0 0 2 100 0 1") {
  return "PAYLOAD " + name + " Varnell\\Sat Varnell\\Sat " + numbers;
}
std::string stage(const std::string &name) { return "STAGE " + name + " Varnell\\Dispenser Varnell\\Sat 0 0 1 50 0 1"; }
std::string payloadSaved(const std::string &name) { return payload(name, "0.00 0.00 2.00 100.00 0.00 1.00"); }
std::string stageSaved(const std::string &name) {
  return "STAGE " + name + " Varnell\\Dispenser Varnell\\Sat 0.00 0.00 1.00 50.00 0.00 1.00";
}
// The log lines that hold the fragment.
std::vector<std::string> logged(const sim::World &world, const std::string &fragment) {
  std::vector<std::string> found;
  for (const std::string &line : world.log().lines())
    if (line.find(fragment) != std::string::npos) found.push_back(line);
  return found;
}

// The keyword without its blank is a manifest line that reads as none: named.
// A full manifest names each entry line it turns away, a stage line with its
// block; closing lines take no slot and still close their stages.
TEST(manifest_reader, entry_keywords_need_their_case_and_their_blank_and_a_full_manifest_says_so_and_still_closes) {
  std::vector<std::string> lines = {"payload x y z 0 0 0 1 0 1", "ENDSTAGEX", "PAYLOAD\t" + payload("t").substr(8)};
  lines.insert(lines.end(), {stage("A"), payload("a"), stage("B")});  // B in A but not first: B leaves alone
  for (int i = 3; i < MAX_ENTRIES; ++i) lines.push_back(payload("b" + std::to_string(i)));
  lines.insert(lines.end(), {stage("X"), payload("x"), "ENDSTAGE", "ENDSTAGE", "ENDSTAGE"});
  Flight f(releasing(lines));
  EXPECT_EQ(manifestOf(f.world, "L1").size(), MAX_ENTRIES + 2u);  // B and A closed after the last
  f.press(OAPI_KEY_J);                                            // B leaves with all it holds
  Messages().send(f.v->iface, "PAYLOAD", payload("late"));
  f.world.step();
  EXPECT_EQ(manifestOf(f.world, "L1"),
            (std::vector<std::string>{stageSaved("A"), payloadSaved("a"), "ENDSTAGE", payloadSaved("late")}));
  EXPECT_EQ(f.world.log().errorCount(), 3);                                 // the tab, X and x
  EXPECT_EQ(logged(f.world, "rejected, the manifest is full").size(), 1u);  // X; x lies in X and goes with it
}

TEST(manifest_reader, a_line_that_does_not_read_whole_takes_no_slot_and_is_named_in_the_log_at_its_line) {
  const std::string longest(127, 'n');
  struct Bad {
    std::string line, reason;
  };
  const Bad bad[] = {
      {"PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0 0 2 100 0", "fewer than nine fields"},
      {payload("x", "0 0 two 100 0 1"), "z is not a finite number"},
      {payload("x", "0 0 2 1.5kg 0 1"), "mass is not a finite number"},
      {payload("x", "0 0 2 100 nan 1"), "angle is not a finite number"},
      {payload("x", "0 0 2 100 0 inf"), "fuel is not a finite number"},
      {payload("x", "1e999 0 2 100 0 1"), "x is not a finite number"},
      {payload(std::string(128, 'n')), "longer than 127 characters"},
      {payload("x", "0 0 2 100 0 " + std::string(500, '1')), "its last field runs past the 511 characters read"},
      {payload("x", "0 0 2 -0.01 0 1"), "the mass is below 0"},
      {payload("x", "0 0 2 100 0 1.01"), "the fuel is outside 0 to 1"},
      {payload("x", "0 0 2 100 0 -0.01"), "the fuel is outside 0 to 1"},
      {payload(longest, "1e300 0 2 0 -1e22 0"), "too large for the line written back to be read whole"},
      {"PAYLOAD", "followed by one blank, nor a closing line"},
      {"STAGE", "followed by one blank, nor a closing line"},
  };
  std::vector<std::string> lines = {stage("Open")};
  for (const Bad &b : bad) lines.push_back(b.line);
  lines.insert(lines.end(), {payload(longest, "1e300 0 2 0 1e22 0 and a remark"), "ENDSTAGE"});  // 511 written back
  Flight f(lines);
  char written[512];
  std::snprintf(written, sizeof written, "%.2f 0.00 2.00 0.00 %.2f 0.00", 1e300, 1e22);
  for (size_t i = 0; i < std::size(bad); ++i) {
    const auto line = logged(f.world, ".scn:" + std::to_string(4 + i) + ": L1: manifest line rejected, ");
    ASSERT_EQ(line.size(), 1u) << bad[i].reason;
    EXPECT_NE(line[0].find(bad[i].reason + ": \"" + bad[i].line.substr(0, 40)), std::string::npos) << line[0];
  }
  EXPECT_EQ(manifestOf(f.world, "L1"),
            (std::vector<std::string>{stageSaved("Open"), payload(longest, written), "ENDSTAGE"}));
}

// A rejected STAGE line still opens a stage, as far as its lines go: what it
// holds is rejected with it, and its closing line closes it, not the stage
// around it.
TEST(manifest_reader, a_rejected_stage_line_takes_its_block_with_it_and_nothing_more) {
  const std::string badStage = "STAGE B Varnell\\Dispenser Varnell\\Sat 0 0 1 50 0";
  struct Case {
    std::vector<std::string> lines, saved, rejected;
  };
  const Case cases[] = {
      {{stage("A"), badStage, payload("b1"), "ENDSTAGE", payload("a2"), "ENDSTAGE"},
       {stageSaved("A"), payloadSaved("a2"), "ENDSTAGE"},
       {badStage, payload("b1")}},
      {{badStage, stage("C"), payload("c1"), "ENDCVE", payload("b1"), "ENDSTAGE", payload("top")},
       {payloadSaved("top")},
       {badStage, stage("C"), payload("c1"), payload("b1")}},
  };
  for (const Case &c : cases) {
    Flight f(c.lines);
    EXPECT_EQ(manifestOf(f.world, "L1"), c.saved);
    EXPECT_EQ(logged(f.world, "manifest line rejected").size(), c.rejected.size());
    for (const std::string &line : c.rejected) EXPECT_TRUE(f.world.log().contains("\"" + line + "\"")) << line;
  }
  std::vector<std::string> deep(32768, badStage);  // nested deeper than a short counts
  deep.push_back(payload("in"));
  EXPECT_EQ(manifestOf(Flight(deep).world, "L1"), std::vector<std::string>());
}

// One step takes in every message waiting, in order; the line, not the key,
// says what an entry is; an empty one is passed over. An open stage takes in
// what comes later; released while still open, a stage is closed: what
// arrives later goes where the stage sat, not into the freed slot.
TEST(manifest_reader, messages_are_taken_in_in_order_into_the_stage_open_and_a_released_open_stage_is_closed) {
  {
    Flight f({payload("first"), stage("Open")});
    Messages messages;
    const std::pair<const char *, std::string> sent[] = {
        {"PAYLOAD", payload("m1")},    {"PAYLOAD", ""},
        {"PAYLOAD", stage("m2")},      {"PAYLOAD", " \t " + payload("m3")},
        {"ENDSTAGE", "ENDSTAGE"},      {"ENDSTAGE", "ENDSTAGE"},
        {"PAYLOAD", payload("after")}, {"NOTES", "for someone else"}};
    for (const auto &[key, text] : sent) messages.send(f.v->iface, key, text);
    f.world.step();
    EXPECT_EQ(messages.pending(f.v->iface), std::vector<std::string>());
    EXPECT_EQ(manifestOf(f.world, "L1"),
              (std::vector<std::string>{payloadSaved("first"), stageSaved("Open"), payloadSaved("m1"), stageSaved("m2"),
                                        payloadSaved("m3"), "ENDSTAGE", "ENDSTAGE", payloadSaved("after")}));
  }
  // Each manifest, and what it saves.
  const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
      {{payload("P"), stage("S")}, {payloadSaved("P"), payloadSaved("late")}},
      {{stage("A"), payload("a1"), stage("B"), payload("b1")},
       {stageSaved("A"), payloadSaved("a1"), payloadSaved("late"), "ENDSTAGE"}},
  };
  for (const auto &[manifest, saved] : cases) {
    Flight f(releasing(manifest));
    f.press(OAPI_KEY_J);
    Messages().send(f.v->iface, "PAYLOAD", payload("late"));
    f.world.step();
    EXPECT_EQ(manifestOf(f.world, "L1"), saved) << manifest.back();
  }
}

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
