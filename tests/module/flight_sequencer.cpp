// The flight sequencer against the real host: the count and the ignition
// ramp, the vent, the acceleration limit, staging, the upper stage's timeline,
// the MET line, manifests arriving in flight, and launchers that the
// simulation creates or that share a name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

const std::vector<std::string> ON_THE_PAD = {"STATUS Landed Earth", "POS -80.6040 28.6083", "HEADING 90",
                                             "CONFIGURATION 0", "FAIRING 1"};
const char *const SAT1 = "PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0.8 0 27.2 700 0 1";
const char *const SAT2 = "PAYLOAD Sat2 Varnell\\Sat Varnell\\Sat -0.8 0 27.2 700 0 1";

// Far above the air, the nose along the motion: the thrust changes the
// airspeed by its whole acceleration.
void noseAlongMotion(sim::Vessel &v) {
  v.pos = _V(7000000, 0, 0);
  v.vel = _V(0, 0, 7546);
  v.rot = sim::Mat3::identity();
  v.omega = _V(0, 0, 0);
}

// Steps until the value read (NAN before there is one) reaches `value` exactly.
template <typename Read>
void stepUntil(sim::World &world, Read read, double value) {
  for (int guard = 0; !(read() >= value) && guard < 100000; ++guard) world.step();
  ASSERT_EQ(read(), value);
}
auto metOf(const sim::World &world) {
  return [&world] { return metShown(world); };
}
auto clockOf(const sim::World &world) {
  return [&world] { return world.simTime(); };
}

// With a step of 0.5 s MET lands exactly on the ends of the ramp.
TEST(flight_sequencer, the_count_holds_at_minus_ten_until_B_and_the_ramp_sets_levels_only_strictly_inside_it) {
  sim::World world(".", "");
  world.dt = 0.5;
  sim::Vessel *v = loadLauncher(world, ON_THE_PAD);
  ASSERT_NE(v, nullptr);
  world.step();
  EXPECT_EQ(levelOf(*v, VENT), 1);                      // venting while the booster idles
  v->iface->SetThrusterGroupLevel(THGROUP_HOVER, 0.3);  // the pilot's throttle: nothing takes it before B
  for (int i = 0; i < 3; ++i) world.step();
  EXPECT_STREQ(world.cockpit().debugString(), "MET -10.0");
  EXPECT_EQ(v->groupLevel(THGROUP_HOVER), 0.3);

  world.cockpit().pressKey(v, OAPI_KEY_B);
  struct At {
    double met, hover, vent, ignition;
  };
  // Passed: -0.25 at -5 (not passed), -0.15 at -4.5 and -0.05 at -4, which
  // the host holds at 0; 0.75 at 0 (not passed).
  const At timeline[] = {{-5, 0.3, 1, 0},    {-4.5, 0, 0, 0},    {-4, 0, 0, 0},   {-2, 0.35, 0, 0},
                         {-1.5, 0.45, 0, 1}, {-0.5, 0.65, 0, 1}, {0, 0.65, 0, 1}, {0.5, 0.65, 0, 1}};
  for (const At &at : timeline) {
    stepUntil(world, metOf(world), at.met);
    SCOPED_TRACE("MET " + std::to_string(at.met));
    EXPECT_NEAR(v->groupLevel(THGROUP_HOVER), at.hover, 1e-12);
    EXPECT_EQ(levelOf(*v, VENT), at.vent);
    EXPECT_EQ(levelOf(*v, IGNITION), at.ignition);
  }
}

// Below a hundredth of the booster's level the tank vents; under time
// acceleration never, whatever else lit it in the step.
TEST(flight_sequencer, the_vent_is_lit_below_a_booster_level_of_0_01_and_off_under_time_acceleration) {
  sim::World world(".", "");
  sim::Vessel *v = loadLauncher(world, ON_THE_PAD);
  ASSERT_NE(v, nullptr);
  for (const double hover : {0.01, 0.0099, 0.0}) {
    v->thrusters[VENT].level = 0;
    v->iface->SetThrusterGroupLevel(THGROUP_HOVER, hover);
    world.step();
    EXPECT_EQ(levelOf(*v, VENT), hover < 0.01) << hover;
  }
  world.timeAcceleration = 10;
  world.cockpit().pressKey(v, OAPI_KEY_B);
  for (int i = 0; i < 60; ++i) {  // through the count and the ramp
    world.step();
    ASSERT_EQ(levelOf(*v, VENT), 0) << "MET " << metShown(world);
  }
}

// Samples come more than 0.2 s apart: with steps of 0.125 s every other step;
// with steps of 0.2 s not at the first, whose interval is exactly 0.2 s. A
// launcher's first sample only records: it has nothing to measure against.
TEST(flight_sequencer, the_limiter_takes_a_hundredth_once_per_sample_only_above_level_0_6_and_10_m_s2) {
  struct Case {
    double dt, level;           // [s], booster group level set
    double payload;             // carried [kg]
    std::vector<double> after;  // the level after each step
  };
  const Case cases[] = {
      {0.125, 0.7, 0, {0.7, 0.7, 0.7, 0.69, 0.69, 0.68, 0.68, 0.67}},  // about 13 m/s^2
      {0.2, 0.7, 0, {0.7, 0.7, 0.69}},
      {0.125, 0.6, 0, {0.6, 0.6, 0.6, 0.6, 0.6, 0.6}},                 // still above 11 m/s^2
      {0.125, 0.7, 100000, {0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7}},  // 9 m/s^2
  };
  for (const Case &c : cases) {
    sim::World world(".", "");
    world.dt = c.dt;
    const std::string payload = "PAYLOAD P Varnell\\Sat Varnell\\Sat 0 0 30 " + std::to_string(c.payload) + " 0 1";
    sim::Vessel *v = loadLauncher(world, inOrbit({"CONFIGURATION 0", payload}));
    ASSERT_NE(v, nullptr);
    noseAlongMotion(*v);
    v->iface->SetThrusterGroupLevel(THGROUP_HOVER, c.level);
    for (double level : c.after) {
      world.step();
      EXPECT_NEAR(v->groupLevel(THGROUP_HOVER), level, 1e-12) << "dt " << c.dt << ", t " << world.simTime();
    }
  }
  sim::World world(".", "");
  world.dt = 0.125;
  sim::Vessel *v = loadLauncher(world, ON_THE_PAD);
  ASSERT_NE(v, nullptr);
  v->iface->SetThrusterGroupLevel(THGROUP_HOVER, 0.7);  // lifts off at about 2 m/s^2
  for (int i = 0; i < 40; ++i) world.step();
  EXPECT_FALSE(v->landed);
  EXPECT_EQ(v->groupLevel(THGROUP_HOVER), 0.7);
}

TEST(flight_sequencer, the_booster_stages_at_100_kg_not_at_100_001_kg_and_at_once_on_J) {
  for (const bool byKey : {false, true}) {
    sim::World world(".", "");
    sim::Vessel *v = loadLauncher(world, inOrbit({"CONFIGURATION 0", "FAIRING 1"}));
    ASSERT_NE(v, nullptr);
    tankOfSize(*v, 181903)->mass = byKey ? 50000 : 100.001;  // [kg]
    world.step();
    EXPECT_EQ(world.vessels().size(), 1u) << byKey;
    if (byKey)
      EXPECT_EQ(world.cockpit().pressKey(v, OAPI_KEY_J), 1);
    else
      tankOfSize(*v, 181903)->mass = 100;
    world.step();
    EXPECT_EQ(configurationOf(*v), 1) << byKey;
    EXPECT_NE(world.find("L1-SEP"), nullptr) << byKey;
    EXPECT_EQ(tankOfSize(*v, 181903), nullptr) << byKey;
  }
}

// Loaded as the upper stage with the fairing on, the timeline runs from the
// load; steps of 0.25 s land exactly on its times.
TEST(flight_sequencer, the_upper_stage_ignites_strictly_after_10_s_drops_the_fairing_after_32_5_s_and_J_waits_for_it) {
  sim::World world(".", "");
  world.dt = 0.25;
  sim::Vessel *v = loadLauncher(world, inOrbit({"CONFIGURATION 1", "FAIRING 1", SAT1}));
  ASSERT_NE(v, nullptr);
  const size_t vessels = world.vessels().size();

  stepUntil(world, clockOf(world), 5);
  world.cockpit().pressKey(v, OAPI_KEY_J);  // the fairing is on: dropped
  world.step();
  EXPECT_EQ(world.vessels().size(), vessels);

  stepUntil(world, clockOf(world), 10);
  EXPECT_EQ(v->groupLevel(THGROUP_MAIN), 0);
  world.step();
  EXPECT_EQ(v->groupLevel(THGROUP_MAIN), 1);
  stepUntil(world, clockOf(world), 10.75);
  v->iface->SetThrusterGroupLevel(THGROUP_MAIN, 0);
  world.step();  // at 11 s
  EXPECT_EQ(v->groupLevel(THGROUP_MAIN), 0);

  stepUntil(world, clockOf(world), 32.5);
  EXPECT_TRUE(fairingOn(world, *v));
  EXPECT_EQ(v->groupLevel(THGROUP_MAIN), 0);
  world.step();
  EXPECT_FALSE(fairingOn(world, *v));
  EXPECT_NE(world.find("Varnellplf1"), nullptr);
  EXPECT_NE(world.find("Varnellplf2"), nullptr);
  EXPECT_EQ(v->groupLevel(THGROUP_MAIN), 1);

  world.cockpit().pressKey(v, OAPI_KEY_J);
  world.step();
  EXPECT_NE(world.find("Sat1"), nullptr);
  EXPECT_EQ(v->groupLevel(THGROUP_MAIN), 0);
}

// Without its fairing the stage has passed its timeline (the jettison comes
// after the ignition): saved coasting in orbit and loaded again, it stays unlit.
TEST(flight_sequencer, an_upper_stage_loaded_without_its_fairing_does_not_light_its_engines_again) {
  sim::World world(".", "");
  world.dt = 0.25;
  sim::Vessel *v = loadLauncher(world, inOrbit({"CONFIGURATION 1", SAT1}));
  ASSERT_NE(v, nullptr);
  stepUntil(world, clockOf(world), 40);
  EXPECT_EQ(v->groupLevel(THGROUP_MAIN), 0);
  EXPECT_EQ(tankOfSize(*v, 21830)->mass, 21830);
  world.cockpit().pressKey(v, OAPI_KEY_J);  // and it releases at once
  world.step();
  EXPECT_NE(world.find("Sat1"), nullptr);
}

TEST(flight_sequencer, the_MET_line_shows_5000_and_is_emptied_above_it) {
  sim::World world(".", "");
  world.dt = 0.5;
  sim::Vessel *v = loadLauncher(world, inOrbit({"CONFIGURATION 0"}));
  ASSERT_NE(v, nullptr);
  world.cockpit().pressKey(v, OAPI_KEY_B);
  stepUntil(world, metOf(world), 5000);
  EXPECT_STREQ(world.cockpit().debugString(), "MET 5000.0");
  world.step();
  EXPECT_STREQ(world.cockpit().debugString(), "");
  std::snprintf(world.cockpit().debugString(), 256, "left by someone else");
  world.step();
  EXPECT_STREQ(world.cockpit().debugString(), "");
}

// Whatever its key, a message with a text rebuilds the stack in the step it
// arrives: payloads and mass follow the manifest, and the engines burn on at
// the levels they had.
TEST(flight_sequencer, a_message_rebuilds_the_stack_it_arrives_on_and_leaves_every_thruster_level_as_it_was) {
  struct Case {
    int configuration;
    std::vector<std::string> keys;
    double mass;  // added [kg]
  };
  for (const Case &c : {Case{0, {"NOTES"}, 0}, Case{0, {"PAYLOAD", "PAYLOAD"}, 1400}, Case{1, {"PAYLOAD"}, 700},
                        Case{1, {"NOTES"}, 0}}) {
    SCOPED_TRACE("configuration " + std::to_string(c.configuration) + ", " + c.keys[0]);
    sim::World world(".", "");
    sim::Vessel *v = loadLauncher(world, inOrbit({"CONFIGURATION " + std::to_string(c.configuration), "FAIRING 1"}));
    ASSERT_NE(v, nullptr);
    std::vector<double> levels;
    for (size_t i = 0; i < v->thrusters.size(); ++i) levels.push_back(v->thrusters[i].level = 0.05 + 0.07 * i);
    const double emptyMass = v->emptyMass;
    const int meshes = usedMeshes(*v);
    Messages messages;
    for (size_t i = 0; i < c.keys.size(); ++i)
      messages.send(v->iface, c.keys[i], c.keys[i] == "NOTES" ? "a note" : i ? SAT2 : SAT1);
    world.step();
    EXPECT_EQ(configurationOf(*v), c.configuration);
    EXPECT_EQ(v->emptyMass, emptyMass + c.mass);
    EXPECT_EQ(usedMeshes(*v), meshes + (c.mass > 0 ? static_cast<int>(c.keys.size()) : 0));
    ASSERT_EQ(v->thrusters.size(), levels.size());
    for (size_t i = 0; i < levels.size(); ++i) EXPECT_EQ(v->thrusters[i].level, levels[i]) << "thruster " << i;
    EXPECT_EQ(world.log().refusedCount(), 0);
  }
}

// Each launcher measures its own airspeed through its own handle, on its own
// clock: the first, on the pad, must not find the second's acceleration, nor
// the second the first's, though a name look-up would give both the first.
TEST(flight_sequencer, two_launchers_of_one_name_each_limit_on_their_own_acceleration) {
  sim::World world(".", "");
  world.dt = 0.125;
  std::string scenario = "BEGIN_SHIPS\nL1:Varnell\n";
  for (const std::string &line : ON_THE_PAD) scenario += "  " + line + "\n";
  scenario += "END\nL1:Varnell\n  STATUS Orbiting Earth\n  RPOS 7000000 0 0\n  RVEL 0 0 7546\nEND\nEND_SHIPS\n";
  ASSERT_TRUE(loadSaved(world, scenario));
  ASSERT_EQ(world.vessels().size(), 2u);
  sim::Vessel &pad = *world.vessels()[0], &orbiting = *world.vessels()[1];
  noseAlongMotion(orbiting);
  for (sim::Vessel *v : {&pad, &orbiting}) v->iface->SetThrusterGroupLevel(THGROUP_HOVER, 0.7);
  for (int sample = 0; sample < 4; ++sample) world.step(), world.step();
  EXPECT_FALSE(pad.landed);
  EXPECT_EQ(pad.groupLevel(THGROUP_HOVER), 0.7);
  EXPECT_NEAR(orbiting.groupLevel(THGROUP_HOVER), 0.67, 1e-12);
}

// Created inside a step with a status record only, as another module would:
// built at creation, it counts down, ramps, stages and ignites its upper stage
// without a handle that names nothing.
TEST(flight_sequencer, a_launcher_created_while_the_simulation_runs_flies_on_engines_that_exist) {
  sim::World world(".", "");
  ASSERT_NE(loadLauncher(world, ON_THE_PAD), nullptr);
  world.pilot = [](sim::World &w) {
    if (w.simTime() < 1 || w.find("L2")) return;
    VESSELSTATUS vs{};
    vs.rpos = _V(7000000, 0, 0);
    vs.rvel = _V(0, 0, 7546);
    vs.fuel = 1;
    oapiCreateVessel("L2", "Varnell", vs);
  };
  while (!world.find("L2")) world.step();
  world.pilot = nullptr;
  sim::Vessel &v = *world.find("L2");
  EXPECT_EQ(v.thrusters.size(), 4u);
  world.step();
  EXPECT_EQ(world.log().refusedCount(), 0);

  world.cockpit().pressKey(&v, OAPI_KEY_B);
  while (metShown(world) < 0) world.step();  // L2 writes the debug line after L1
  EXPECT_GT(v.groupLevel(THGROUP_HOVER), 0.7);
  EXPECT_EQ(levelOf(v, IGNITION), 1);
  world.cockpit().pressKey(&v, OAPI_KEY_J);
  world.step();
  ASSERT_NE(world.find("L2-SEP"), nullptr);
  while (world.simTime() < world.find("L2-SEP")->createdAt + 10.5) world.step();
  EXPECT_EQ(v.groupLevel(THGROUP_MAIN), 1);
  EXPECT_EQ(world.log().refusedCount(), 0);
}

// Inputs to the fourth power: pitch down 0.5 and yaw left 1 swivel both
// engines alike, bank right 0.5 each the other way; only the booster's take
// in the yaw rate, so that a yaw rate dies away under booster thrust, and
// only under thrust.
TEST(flight_sequencer, the_engines_swivel_after_the_pilots_inputs_and_the_booster_damps_a_yaw_rate) {
  for (const int configuration : {0, 1}) {
    sim::World world(".", "");
    sim::Vessel *v = loadLauncher(world, inOrbit({"CONFIGURATION " + std::to_string(configuration)}));
    ASSERT_NE(v, nullptr);
    noseAlongMotion(*v);
    v->omega = _V(0, 0.002, 0);  // [rad/s]
    v->manualLevel[THGROUP_ATT_PITCHDOWN] = 0.5;
    v->manualLevel[THGROUP_ATT_YAWLEFT] = 1;
    v->manualLevel[THGROUP_ATT_BANKRIGHT] = 0.5;
    world.step();
    const double x = configuration == 0 ? 0.01 - v->omega.y : 0.01;
    expectNear(v->thrusters[0].dir, _V(x, 0.000625 + 0.003125, 1), 1e-9, "engine 0");
    expectNear(v->thrusters[1].dir, _V(x, 0.000625 - 0.003125, 1), 1e-9, "engine 1");
  }
  for (const double level : {0.5, 0.0}) {
    SCOPED_TRACE("level " + std::to_string(level));
    sim::World world(".", "");
    sim::Vessel *v = loadLauncher(world, inOrbit({"CONFIGURATION 0"}));
    ASSERT_NE(v, nullptr);
    noseAlongMotion(*v);
    v->omega = _V(0, 0.05, 0);
    v->iface->SetThrusterGroupLevel(THGROUP_HOVER, level);
    double largest = 0;  // [rad/s]
    for (; world.simTime() < 5; world.step()) largest = std::max(largest, std::fabs(v->omega.y));
    EXPECT_LE(largest, 0.05 + 1e-9);
    EXPECT_NEAR(v->omega.y, level > 0 ? 0 : 0.05, level > 0 ? 0.005 : 1e-6);
  }
}

}  // namespace
