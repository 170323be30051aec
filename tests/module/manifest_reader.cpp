// The manifest reader: scenario lines and messages into nested entries, and
// lines that do not read whole turned away with a word in the host's log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

std::string payload(const std::string &name, const std::string &numbers = "0 0 2 100 0 1") {
  return "PAYLOAD " + name + " Varnell\\Sat Varnell\\Sat " + numbers;
}
std::string stage(const std::string &name) { return "STAGE " + name + " Varnell\\Dispenser Varnell\\Sat 0 0 1 50 0 1"; }

// A carrier that keeps what it is handed as other keywords.
struct KeywordRecorder : COMMON_VESSEL_EX {
  using COMMON_VESSEL_EX::COMMON_VESSEL_EX;
  void ParseOtherKeyword(char *keyword, char *line) override { seen.push_back(std::string(keyword) + "|" + line); }
  std::vector<std::string> seen;
};

class manifest_reader : public ::testing::Test {
 protected:
  void SetUp() override {
    l = launcherOf(world.createVessel("L1", "Varnell", nullptr));
    ASSERT_NE(l, nullptr);
  }
  sim::World world{".", ""};
  VARNELL *l = nullptr;
};

TEST_F(manifest_reader, nested_stages_give_each_entry_the_stage_it_was_read_in) {
  VARNELL *c = loadLauncher(
      world, {stage("A"), payload("b"), stage("C"), payload("d"), "ENDSTAGE", payload("e"), "ENDCVE", payload("f")},
      "L2");
  ASSERT_NE(c, nullptr);
  const short parents[] = {-1, 0, 0, 2, 0, -1};
  const unsigned short kinds[] = {1, 0, 1, 0, 0, 0};
  for (int i = 0; i < 6; ++i) {
    EXPECT_TRUE(c->entries[i].used);
    EXPECT_EQ(c->entries[i].parent, parents[i]) << c->entries[i].name;
    EXPECT_EQ(c->entries[i].kind, kinds[i]) << c->entries[i].name;
  }
  EXPECT_EQ(usedEntries(*c), 6);
  EXPECT_EQ(c->openStage, -1);
}

TEST_F(manifest_reader, an_entry_holds_the_fields_written_and_a_push_away_from_the_axis) {
  l->ParseScenarioLine(" \t PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat\t1.2  0 3.1 600 90 0.5");
  // Every field is checked against lines of all kinds in manifest_reader_random.
  EXPECT_STREQ(l->entries[0].name, "Sat1");
  EXPECT_NE(l->entries[0].mesh.hMesh, nullptr);

  struct Push {
    const char *offset;
    VECTOR3 releaseVel;  // [m/s]
  };
  const Push pushes[] = {{"0 0 0", {0, 0, 0.5}},   {"0 0 5", {0, 0, 0.5}},   {"3 4 1", {1.2, 1.6, 0}},
                         {"0 0.1 5", {0, 0, 0.5}}, {"0 0.1 0.5", {0, 2, 0}}, {"0.005 0 0", {0, 0, 0.5}}};
  for (const Push &p : pushes) {
    l->entries[0].used = false;
    l->ParseScenarioLine(payload("p", std::string(p.offset) + " 1 0 1").c_str());
    expectVector(l->entries[0].releaseVel, p.releaseVel.x, p.releaseVel.y, p.releaseVel.z, p.offset);
  }
}

TEST_F(manifest_reader, other_keywords_go_on_and_entry_keywords_need_their_blank) {
  sim::Vessel *host = world.find("L1");
  KeywordRecorder carrier(host);
  const std::string tabbed = "PAYLOAD\tSat1 Varnell\\Sat Varnell\\Sat 0 0 2 100 0 1";
  for (const std::string &line : {std::string("CONFIGURATION 1"), std::string("payload x y z 0 0 0 1 0 1"),
                                  std::string("ENDSTAGEX"), tabbed, std::string("PAYLOAD")})
    carrier.ParseScenarioLine(line.c_str());
  EXPECT_EQ(carrier.seen, (std::vector<std::string>{"CONFIGURATION|CONFIGURATION 1",
                                                    "payload|payload x y z 0 0 0 1 0 1", "ENDSTAGEX|ENDSTAGEX"}));
  EXPECT_EQ(usedEntries(carrier), 0);
}

TEST_F(manifest_reader, a_full_manifest_takes_nothing_in_until_a_slot_is_free) {
  l->ParseScenarioLine(stage("S").c_str());
  for (int i = 1; i < MAX_PAYLOAD_ENTRIES; ++i) l->ParseScenarioLine(payload("p" + std::to_string(i)).c_str());
  l->ParseScenarioLine(payload("late").c_str());
  l->ParseScenarioLine("ENDSTAGE");
  EXPECT_EQ(usedEntries(*l), MAX_PAYLOAD_ENTRIES);
  EXPECT_STREQ(l->entries[MAX_PAYLOAD_ENTRIES - 1].name, "p49");
  EXPECT_EQ(l->openStage, 0);

  l->entries[3].used = false;
  l->ParseScenarioLine(payload("late").c_str());
  EXPECT_STREQ(l->entries[3].name, "late");
  EXPECT_EQ(l->entries[3].parent, 0);
}

TEST_F(manifest_reader, a_line_that_does_not_read_whole_takes_no_slot_and_is_named_in_the_log) {
  l->ParseScenarioLine(stage("Open").c_str());
  const std::string longest(127, 'n'), tooLong(128, 'n');
  struct Bad {
    std::string line, reason;
  };
  const Bad bad[] = {
      {"PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0 0 2 100 0", "fewer than nine fields"},
      {"STAGE Sat1 Varnell\\Sat Varnell\\Sat 0 0 2 100 0", "fewer than nine fields"},
      {payload("x", "0 0 two 100 0 1"), "z is not a finite number"},
      {payload("x", "0 0 2 1.5kg 0 1"), "mass is not a finite number"},
      {payload("x", "0 0 2 100 nan 1"), "angle is not a finite number"},
      {payload("x", "0 0 2 100 0 inf"), "fuel is not a finite number"},
      {payload("x", "1e999 0 2 100 0 1"), "x is not a finite number"},
      {payload(tooLong), "longer than 127 characters"},
      {payload("x", "0 0 2 100 0 " + std::string(500, '1')), "runs past the 511 characters"},
      {"PAYLOAD", "followed by one blank"},
      {"STAGE", "followed by one blank"},
  };
  for (const Bad &b : bad) {
    l->ParseScenarioLine(b.line.c_str());
    EXPECT_EQ(usedEntries(*l), 1) << b.line;
    EXPECT_EQ(l->openStage, 0) << b.line;
    const std::string logged = world.log().lines().back();
    EXPECT_NE(logged.find("L1: manifest line rejected"), std::string::npos) << logged;
    EXPECT_NE(logged.find(b.reason), std::string::npos) << logged;
    EXPECT_NE(logged.find(b.line.substr(0, 40)), std::string::npos) << logged;
  }
  EXPECT_STREQ(l->entries[1].name, "");  // the slot the lines would have taken is as it was

  l->ParseScenarioLine(payload(longest, "0 0 2 100 0 1 and a remark").c_str());
  EXPECT_STREQ(l->entries[1].name, longest.c_str());
}

TEST_F(manifest_reader, a_line_turned_away_from_a_scenario_is_logged_at_its_file_and_line) {
  ASSERT_NE(loadLauncher(world, {payload("good"), payload("bad", "0 0 2 100 0")}, "L2"), nullptr);
  EXPECT_TRUE(world.log().contains(".scn:4: L2: manifest line rejected, it has fewer than nine fields: \"" +
                                   payload("bad", "0 0 2 100 0") + "\""));
}

TEST_F(manifest_reader, all_pending_messages_are_taken_in_by_one_call_an_empty_one_skipped) {
  l->SendManifestMessage(l, "PAYLOAD", payload("m1").c_str());
  l->SendManifestMessage(l, "PAYLOAD", "");
  l->SendManifestMessage(l, "PAYLOAD", stage("m2").c_str());  // the line, not the key, says what it is
  l->SendManifestMessage(l, "PAYLOAD", payload("m3").c_str());
  l->SendManifestMessage(l, "NOTES", "for someone else");
  char key[256], line[2048];
  EXPECT_TRUE(l->ReceiveManifestMessages(key, line));
  EXPECT_STREQ(key, "NOTES");
  EXPECT_STREQ(line, "for someone else");
  EXPECT_EQ(usedEntries(*l), 3);
  EXPECT_EQ(l->entries[1].kind, 1);
  EXPECT_EQ(l->entries[2].parent, 1);
  EXPECT_EQ(l->openStage, 1);
  EXPECT_FALSE(l->ReceiveManifestMessages());

  l->SendManifestMessage(l, "PAYLOAD", "");
  EXPECT_FALSE(l->ReceiveManifestMessages());
}

TEST_F(manifest_reader, an_unclosed_stage_takes_in_entries_that_arrive_later_by_message) {
  VARNELL *c = loadLauncher(world, {payload("first"), stage("Open")}, "L2");
  ASSERT_NE(c, nullptr);
  c->SendManifestMessage(c, "PAYLOAD", payload("late").c_str());
  c->SendManifestMessage(c, "ENDSTAGE", "ENDSTAGE");
  c->SendManifestMessage(c, "PAYLOAD", payload("after").c_str());
  EXPECT_TRUE(c->ReceiveManifestMessages());
  EXPECT_EQ(c->entries[2].parent, 1);
  EXPECT_EQ(c->entries[3].parent, -1);
  EXPECT_EQ(c->openStage, -1);
}

}  // namespace
