// Launchers as the simulator makes them, in the built tree, and seen only as
// the simulator sees them: scenario blocks in and out, the vessel the host
// holds, keys, steps, the debug line and messages through the message module.
// In orbit they are turned and turning, so that a mix-up of frames shows.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "host/cvelmessage.h"
#include "tests/support/tree.h"

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

inline std::vector<std::string> inOrbit(const std::vector<std::string> &lines,
                                        const char *attitude = "AROT 30 -50 120") {
  std::vector<std::string> block = {"STATUS Orbiting Earth", "RPOS 7000000 100000 -200000", "RVEL -100 7546 30",
                                    attitude, "VROT 2 -3 5"};
  block.insert(block.end(), lines.begin(), lines.end());
  return block;
}

// Standing on the pad, landed: its status record holds its place on the ground.
inline std::vector<std::string> onThePad(std::vector<std::string> lines) {
  lines.insert(lines.begin(), {"STATUS Landed Earth", "POS -80.6040 28.6083", "HEADING 90"});
  return lines;
}

// The full stack on its pad at the Cape, fairing on.
const std::vector<std::string> ON_THE_PAD = onThePad({"CONFIGURATION 0", "FAIRING 1"});

// The upper stage with its fairing gone, in orbit or on the pad: J releases at the next step.
inline std::vector<std::string> releasing(std::vector<std::string> manifest, bool fromThePad = false) {
  manifest.insert(manifest.begin(), "CONFIGURATION 1");
  return fromThePad ? onThePad(manifest) : inOrbit(manifest);
}

// Where v is and how it moves in the frame of a vessel's motion [m], [m/s]:
// for a vessel released in clbkPostStep, the carrier's frameStart, which its
// module read there.
inline VECTOR3 placeFrom(const sim::Vessel::Kinematics &from, const sim::Vessel &v) {
  return from.rot.tmul(v.pos - from.pos);
}
inline VECTOR3 velocityFrom(const sim::Vessel::Kinematics &from, const sim::Vessel &v) {
  return from.rot.tmul(v.vel - from.vel);
}

inline void expectNear(const VECTOR3 &got, const VECTOR3 &want, double tolerance = 1e-9, const std::string &what = "") {
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(got.data[i], want.data[i], tolerance) << what << " [" << i << "]";
}

inline int usedMeshes(const sim::Vessel &v) {
  int n = 0;
  for (const sim::MeshSlot &slot : v.meshes) n += slot.used;
  return n;
}

// 0 the full stack (booster engines in the hover group), 1 the upper stage
// (its engines in the main group), -1 neither: as the engines show it.
inline int configurationOf(const sim::Vessel &v) { return v.group(THGROUP_HOVER) ? 0 : v.group(THGROUP_MAIN) ? 1 : -1; }

// The first fairing half's mesh shows on the vessel.
inline bool fairingOn(sim::World &world, const sim::Vessel &v) {
  const MESHHANDLE h = world.resources().loadMeshGlobal("Varnell\\Varnellplf1");
  for (const sim::MeshSlot &slot : v.meshes)
    if (slot.used && slot.mesh == h) return true;
  return false;
}

// The MET that the launchers last wrote on the debug line [s]; NAN when none.
inline double metShown(const sim::World &world) {
  double met = 0;
  return std::sscanf(world.cockpit().debugString(), "MET %lf", &met) == 1 ? met : NAN;
}

// A launcher in a flight: a world over the built tree with one launcher read
// from its block's lines, which follow "<name>:Varnell"; without a PRPLEVEL
// line of their own, every tank is listed full: three on the full stack, two
// on the upper stage. A launcher that does not load fails the test there.
struct Flight {
  explicit Flight(const std::vector<std::string> &lines, double dt = 0.02, const std::string &name = "L1") {
    world.dt = dt;
    std::string scn = "BEGIN_SHIPS\n" + name + ":Varnell\n";
    bool levels = false, upperStage = false;
    for (const std::string &line : lines) {
      scn += "  " + line + "\n";
      levels = levels || line.rfind("PRPLEVEL", 0) == 0;
      upperStage = upperStage || line == "CONFIGURATION 1";
    }
    if (!levels) scn += upperStage ? "  PRPLEVEL 0:1 1:1\n" : "  PRPLEVEL 0:1 1:1 2:1\n";
    if (!loadSaved(world, scn + "END\nEND_SHIPS\n") || !(v = world.find(name)))
      throw std::runtime_error("the launcher did not load");
  }
  // A key on the launcher (or on another vessel), and the step that acts on it.
  void press(DWORD key, sim::Vessel *on = nullptr) {
    world.cockpit().pressKey(on ? on : v, key);
    world.step();
  }
  // Steps until the value read (NAN before there is one) reaches `value`, which it must land on.
  template <typename Read>
  void stepUntil(Read read, double value) {
    for (int guard = 0; !std::isgreaterequal(read(), value) && guard < 100000; ++guard) world.step();  // NaN: quietly
    ASSERT_EQ(read(), value);
  }
  void stepUntilTime(double t) {
    stepUntil([this] { return world.simTime(); }, t);
  }
  sim::World world{".", ""};
  sim::Vessel *v = nullptr;
};

// A thruster's level by its place in the host's list; NAN when there is none.
inline double levelOf(const sim::Vessel &v, size_t i) { return i < v.thrusters.size() ? v.thrusters[i].level : NAN; }
// The full stack's thrusters, in the order the launcher creates them.
enum BoosterThruster { BOOSTER_0, BOOSTER_1, IGNITION, VENT };

// A tank by its capacity [kg]; null when there is none.
inline sim::Tank *tankOfSize(sim::Vessel &v, double maxMass) {
  for (sim::Tank &t : v.tanks)
    if (t.maxMass == maxMass) return &t;
  return nullptr;
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

// The manifest a vessel saves: its PAYLOAD, STAGE and ENDSTAGE lines.
inline std::vector<std::string> manifestOf(const sim::World &world, const std::string &name) {
  std::vector<std::string> manifest;
  for (const std::string &line : blockOf(savedScenario(world), name))
    if (line.rfind("PAYLOAD ", 0) == 0 || line.rfind("STAGE ", 0) == 0 || line.rfind("ENDSTAGE", 0) == 0)
      manifest.push_back(line.substr(0, line.find_last_not_of(' ') + 1));
  return manifest;
}

// The message module as another carrier reaches it: the library the vessels
// bound stays loaded while they live.
struct Messages : std::unique_ptr<std::remove_pointer_t<HMODULE>, BOOL(WINAPI *)(HMODULE)> {
  Messages() : unique_ptr(LoadLibraryA("Modules\\cvelmessage"), &FreeLibrary) {}
  void send(VESSEL *to, const std::string &key, const std::string &text) const {
    lookUp<SendCMessageFunc>(get(), "SendCMessage")(to, key.c_str(), text.c_str());
  }
  // Everything waiting for a vessel, as "key|text", taken as a carrier polls.
  std::vector<std::string> pending(VESSEL *receiver) const {
    std::vector<std::string> got;
    char key[CMESSAGE_KEY_SIZE], text[CMESSAGE_TEXT_SIZE];
    while (lookUp<CheckCMessageFunc>(get(), "CheckCMessage")(receiver, key, text) >= 0)
      got.push_back(std::string(key) + "|" + text);
    return got;
  }
};
