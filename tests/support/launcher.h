// Launchers as the simulator makes them, in the built tree: read from a
// scenario block or created bare; in orbit, turned and turning so that a
// mix-up of frames shows; saved and read again; and what waits for them.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/cvelmessage.h"
#include "launcher/varnell.h"
#include "tests/support/tree.h"

inline VARNELL *launcherOf(sim::Vessel *v) { return v ? static_cast<VARNELL *>(v->iface) : nullptr; }

inline std::string scratchScenario() {
  const ::testing::TestInfo *t = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string("module-") + t->test_suite_name() + "-" + t->name() + ".scn";
}

// The file, named after the running test, lasts only while it is read.
inline bool loadSaved(sim::World &world, const std::string &scenario) {
  std::ofstream(scratchScenario()) << scenario;
  const bool loaded = world.loadScenario(scratchScenario());
  std::remove(scratchScenario().c_str());
  return loaded;
}

inline std::string savedScenario(const sim::World &world) {
  EXPECT_TRUE(world.saveScenario(scratchScenario()));
  std::ostringstream text;
  text << std::ifstream(scratchScenario()).rdbuf();
  std::remove(scratchScenario().c_str());
  return text.str();
}

// The block's lines follow "<name>:Varnell".
inline VARNELL *loadLauncher(sim::World &world, const std::vector<std::string> &lines, const std::string &name = "L1") {
  std::string scn = "BEGIN_SHIPS\n" + name + ":Varnell\n";
  for (const std::string &line : lines) scn += "  " + line + "\n";
  return loadSaved(world, scn + "END\nEND_SHIPS\n") ? launcherOf(world.find(name)) : nullptr;
}

inline std::vector<std::string> inOrbit(const std::vector<std::string> &lines,
                                        const char *attitude = "AROT 30 -50 120") {
  std::vector<std::string> block = {"STATUS Orbiting Earth", "RPOS 7000000 100000 -200000", "RVEL -100 7546 30",
                                    attitude, "VROT 2 -3 5"};
  block.insert(block.end(), lines.begin(), lines.end());
  return block;
}

// Where v is and how it moves, in the frame of the vessel `from` [m], [m/s].
inline VECTOR3 placeFrom(const sim::Vessel &from, const sim::Vessel &v) { return from.rot.tmul(v.pos - from.pos); }
inline VECTOR3 velocityFrom(const sim::Vessel &from, const sim::Vessel &v) { return from.rot.tmul(v.vel - from.vel); }

inline void expectNear(const VECTOR3 &got, const VECTOR3 &want, double tolerance = 1e-9, const std::string &what = "") {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(got.data[i], want.data[i], tolerance) << what << " [" << i << "]";
}

inline int usedMeshes(const sim::Vessel &v) {
  int n = 0;
  for (const sim::MeshSlot &slot : v.meshes) n += slot.used;
  return n;
}

inline int usedEntries(const COMMON_VESSEL_EX &c) {
  int n = 0;
  for (const PAYLOAD_ENTRY &e : c.entries) n += e.used;
  return n;
}

// The lines of a vessel's block, between its name line and END, unindented.
inline std::vector<std::string> blockOf(const std::string &scenario, const std::string &name) {
  std::istringstream in(scenario);
  std::vector<std::string> block;
  bool inside = false;
  for (std::string line; std::getline(in, line) && !(inside && line == "END");) {
    if (inside) block.push_back(line.substr(line.find_first_not_of(' ')));
    inside = inside || line.rfind(name + ":", 0) == 0;
  }
  return block;
}

// Everything waiting for a vessel, as "key|text", taken as a carrier polls.
inline std::vector<std::string> pendingMessages(VESSEL *receiver) {
  HMODULE messages = LoadLibraryA("Modules\\cvelmessage");  // the library the launchers bound, if any
  if (!messages) return {"no message module"};
  auto check = lookUp<CheckCMessageFunc>(messages, "CheckCMessage");
  std::vector<std::string> got;
  char key[CMESSAGE_KEY_SIZE], text[CMESSAGE_TEXT_SIZE];
  while (check(receiver, key, text) >= 0) got.push_back(std::string(key) + "|" + text);
  FreeLibrary(messages);
  return got;
}

// Staging as the flight sequencer does it.
inline void stage(VARNELL &l) {
  l.DelPropellantResource(l.phBooster);
  l.SeparateBooster();
  l.ConfigureUpperStage();
}

inline void expectVector(const VECTOR3 &got, double x, double y, double z, const std::string &what = "") {
  expectNear(got, _V(x, y, z), 1e-9, what);
}
