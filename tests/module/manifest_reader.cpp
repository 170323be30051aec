// The manifest reader, as a launcher takes in its scenario block and messages:
// nested entries, and lines that do not read whole turned away with a word in
// the host's log. What it read shows in the manifest the launcher saves.
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

}  // namespace
