// The message module as a carrier meets it: loaded by its path, its functions
// looked up by name, messages addressed by the receiver's interface pointer;
// and manifest messages between launchers through it, bound once at
// construction, or in a tree that has no such module.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

class message_module : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(send && check && drop); }
  // The queues outlive a test while the library stays loaded: leave none behind.
  void TearDown() override {
    for (VESSEL *v : {a, b}) messages.pending(v);
  }

  Messages messages;
  SendCMessageFunc send = lookUp<SendCMessageFunc>(messages.get(), "SendCMessage");
  CheckCMessageFunc check = lookUp<CheckCMessageFunc>(messages.get(), "CheckCMessage");
  DropCMessagesFunc drop = lookUp<DropCMessagesFunc>(messages.get(), "DropCMessages");
  // Receivers are only addresses to the module; it never looks behind them.
  char places[2] = {};
  VESSEL *a = reinterpret_cast<VESSEL *>(&places[0]);
  VESSEL *b = reinterpret_cast<VESSEL *>(&places[1]);
};

TEST_F(message_module, messages_reach_only_their_receiver_in_the_order_sent_until_it_is_dropped) {
  EXPECT_EQ(send(a, "STAGE", "STAGE Kick1 k k 0 0 2.5 950 0 1"), 0);
  send(b, "PAYLOAD", "PAYLOAD Probe p p 0 0 6 300 0 1");
  send(a, "ENDSTAGE", "ENDSTAGE");
  EXPECT_EQ(messages.pending(a),
            (std::vector<std::string>{"STAGE|STAGE Kick1 k k 0 0 2.5 950 0 1", "ENDSTAGE|ENDSTAGE"}));
  send(a, "PAYLOAD", "for a");
  drop(a);
  EXPECT_TRUE(messages.pending(a).empty());
  EXPECT_EQ(messages.pending(b), std::vector<std::string>{"PAYLOAD|PAYLOAD Probe p p 0 0 6 300 0 1"});
  send(a, "ENDSTAGE", "after the drop");
  EXPECT_EQ(messages.pending(a), std::vector<std::string>{"ENDSTAGE|after the drop"});
}

TEST_F(message_module, long_texts_are_cut_to_the_buffers_and_terminated) {
  send(a, std::string(300, 'k').c_str(), std::string(3000, 't').c_str());
  // One guard character past each buffer catches a write beyond it.
  char key[CMESSAGE_KEY_SIZE + 1], text[CMESSAGE_TEXT_SIZE + 1];
  std::memset(key, '#', sizeof key);
  std::memset(text, '#', sizeof text);
  ASSERT_EQ(check(a, key, text), 0);
  EXPECT_EQ(std::vector<size_t>({std::strlen(key), std::strlen(text)}), std::vector<size_t>({255, 2047}));
  EXPECT_TRUE(key[CMESSAGE_KEY_SIZE] == '#' && text[CMESSAGE_TEXT_SIZE] == '#');  // nothing written beyond
}

TEST_F(message_module, null_arguments_are_refused_and_lose_no_message) {
  EXPECT_EQ(send(nullptr, "PAYLOAD", "line"), -1);
  char key[CMESSAGE_KEY_SIZE], text[CMESSAGE_TEXT_SIZE];
  EXPECT_EQ(check(nullptr, key, text), -1);
  EXPECT_EQ(check(b, key, text), -1);  // nothing waiting
  drop(nullptr);
  EXPECT_EQ(send(a, nullptr, nullptr), 0);
  EXPECT_EQ(check(a, nullptr, text), -1);
  EXPECT_EQ(check(a, key, nullptr), -1);
  EXPECT_EQ(messages.pending(a), std::vector<std::string>{"|"});
}

const char *const STAGE_LINE = "STAGE Kick1 Kickmesh Kickclass 0.00 0.00 2.50 950.00 0.00 1.00";

// Addressed by interface; a deleted vessel's queue goes with it, since a
// vessel made later may get its address.
TEST(payload_messages, manifest_lines_reach_only_their_vessel_and_none_outlive_a_deleted_one) {
  sim::World world(".", "");
  sim::Vessel *carrier = world.createVessel("Carrier", "Varnell", nullptr);
  sim::Vessel *stage = world.createVessel("Stage", "Varnell\\Sat", nullptr);
  ASSERT_TRUE(carrier && stage);
  VESSEL *gone = stage->iface;
  Messages messages;
  for (VESSEL *to : {gone, gone, carrier->iface, gone}) messages.send(to, "STAGE", STAGE_LINE);
  world.deleteVessel(stage);
  EXPECT_TRUE(messages.pending(gone).empty());
  EXPECT_EQ(messages.pending(carrier->iface), std::vector<std::string>{std::string("STAGE|") + STAGE_LINE});
}

// The module is bound once, at construction: one that appears later stays unused.
TEST(payload_messages, a_launcher_made_without_the_message_module_releases_and_takes_nothing_in) {
  ScratchTree scratch;
  scratch.copyFromBuiltTree(moduleLibrary("Varnell"));
  for (const char *file : {"Varnellstg0", "Varnellstg1B", "Varnellplf1", "Varnellplf2", "Sat"})
    scratch.copyFromBuiltTree(std::string("Meshes/Varnell/") + file + ".msh");
  scratch.copyFromBuiltTree("Config/Vessels/Varnell/Sat.cfg");
  scratch.write("Config/Vessels/Varnell.cfg", "Module = Varnell\n");
  scratch.enter();
  Flight f(releasing({"STAGE K Varnell\\Sat Varnell\\Sat 0 0 1 50 0 1",
                      "PAYLOAD P Varnell\\Sat Varnell\\Sat 0 0 2 50 0 1", "ENDSTAGE"}));
  f.press(OAPI_KEY_J);
  ASSERT_NE(f.world.find("K"), nullptr);
  EXPECT_EQ(usedMeshes(*f.v), 1);

  scratch.copyFromBuiltTree(moduleLibrary("cvelmessage"));
  Messages messages;
  EXPECT_TRUE(messages.pending(f.world.find("K")->iface).empty());
  messages.send(f.v->iface, "PAYLOAD", "PAYLOAD Q Varnell\\Sat Varnell\\Sat 0 0 2 50 0 1");
  f.world.step();
  EXPECT_EQ(usedMeshes(*f.v), 1);
  EXPECT_EQ(f.world.log().errorCount(), 0);  // a missing message module is no error
}

}  // namespace
