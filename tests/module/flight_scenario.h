// Launchers in orbit, turned and turning so that a mix-up of frames shows;
// what one vessel sees of another; scenarios saved and read again; messages
// waiting for a vessel.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/cvelmessage.h"
#include "launcher_scenario.h"
#include "loading.h"

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

inline void expectNear(const VECTOR3 &got, const VECTOR3 &want, double tolerance = 1e-6, const std::string &what = "") {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(got.data[i], want.data[i], tolerance) << what << " [" << i << "]";
}

inline int usedMeshes(const sim::Vessel &v) {
  int n = 0;
  for (const sim::MeshSlot &slot : v.meshes) n += slot.used;
  return n;
}

inline std::string scratchScenario() {
  return std::string("module-") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".scn";
}

inline std::string savedScenario(const sim::World &world) {
  EXPECT_TRUE(world.saveScenario(scratchScenario()));
  std::ostringstream text;
  text << std::ifstream(scratchScenario()).rdbuf();
  std::remove(scratchScenario().c_str());
  return text.str();
}

inline bool loadSaved(sim::World &world, const std::string &scenario) {
  std::ofstream(scratchScenario()) << scenario;
  const bool loaded = world.loadScenario(scratchScenario());
  std::remove(scratchScenario().c_str());
  return loaded;
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
  HMODULE messages = LoadLibraryA("Modules\\cvelmessage");
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
