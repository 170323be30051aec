// Manifest messages between launchers, through the message module that each
// payload manager binds at construction, and a tree that has no such module.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/cvelmessage.h"
#include "launcher/varnell.h"
#include "loading.h"
#include "sim/world.h"

namespace {

VARNELL *launcherOf(sim::Vessel *v) { return v ? static_cast<VARNELL *>(v->iface) : nullptr; }

// Everything pending for a vessel, as "key|text", fetched the way a carrier polls.
std::vector<std::string> drain(VESSEL *receiver) {
  HMODULE messages = LoadLibraryA("Modules\\cvelmessage");  // the library the launchers bound, if any
  if (!messages) return {"no message module"};
  auto check = lookUp<CheckCMessageFunc>(messages, "CheckCMessage");
  std::vector<std::string> got;
  char key[CMESSAGE_KEY_SIZE], text[CMESSAGE_TEXT_SIZE];
  while (check(receiver, key, text) >= 0) got.push_back(std::string(key) + "|" + text);
  FreeLibrary(messages);
  return got;
}

const char *const STAGE_LINE = "STAGE Kick1 Kickmesh Kickclass 0.00 0.00 2.50 950.00 0.00 1.00";

TEST(payload_messages, manifest_lines_reach_only_their_vessel_in_the_order_sent) {
  sim::World world(".", "");
  VARNELL *sender = launcherOf(world.createVessel("Carrier", "Varnell", nullptr));
  VARNELL *stage = launcherOf(world.createVessel("Stage", "Varnell", nullptr));
  ASSERT_TRUE(sender && stage);

  sender->SendManifestMessage(stage, "STAGE", STAGE_LINE);
  sender->SendManifestMessage(stage, "ENDSTAGE", "ENDSTAGE");
  EXPECT_TRUE(drain(sender).empty());
  EXPECT_EQ(drain(stage), (std::vector<std::string>{std::string("STAGE|") + STAGE_LINE, "ENDSTAGE|ENDSTAGE"}));
}

TEST(payload_messages, a_deleted_vessel_leaves_no_messages_behind) {
  sim::World world(".", "");
  VARNELL *sender = launcherOf(world.createVessel("Carrier", "Varnell", nullptr));
  sim::Vessel *stage = world.createVessel("Stage", "Varnell", nullptr);
  ASSERT_TRUE(sender && stage);

  VESSEL *gone = stage->iface;
  sender->SendManifestMessage(gone, "ENDSTAGE", "ENDSTAGE");
  sender->SendManifestMessage(sender, "ENDSTAGE", "ENDSTAGE");
  world.deleteVessel(stage);
  // Only the address is asked about: a vessel made later may get it.
  EXPECT_TRUE(drain(gone).empty());
  EXPECT_EQ(drain(sender).size(), 1u);
}

// The module is bound once, at construction: one that appears later stays unused.
TEST(payload_messages, a_launcher_made_without_the_message_module_sends_nothing) {
  ScratchRoot scratch;
  scratch.copyFromBuiltTree(moduleLibrary("Varnell"));
  for (const char *mesh : {"Varnellstg0", "Varnellstg1B", "Varnellplf1", "Varnellplf2"})
    scratch.copyFromBuiltTree(std::string("Meshes/Varnell/") + mesh + ".msh");
  scratch.write("Config/Vessels/Varnell.cfg", "Module = Varnell\n");
  scratch.enter();
  sim::World world(".", "");
  VARNELL *sender = launcherOf(world.createVessel("Carrier", "Varnell", nullptr));
  VARNELL *stage = launcherOf(world.createVessel("Stage", "Varnell", nullptr));
  ASSERT_TRUE(sender && stage);
  EXPECT_EQ(sender->hMessageModule, nullptr);

  scratch.copyFromBuiltTree(moduleLibrary("cvelmessage"));
  sender->SendManifestMessage(stage, "ENDSTAGE", "ENDSTAGE");
  EXPECT_TRUE(drain(stage).empty());
  EXPECT_EQ(world.log().errorCount(), 0);  // a missing message module is no error
}

}  // namespace
