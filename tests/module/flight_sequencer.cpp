// The flight sequencer against the real host: the count and the ignition
// ramp, the acceleration limit, staging, the upper stage's timeline, the MET
// line, manifests arriving in flight, and launchers that the simulation
// creates or that share a name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/handles.h"
#include "tests/support/launcher.h"

namespace {

const std::vector<std::string> ON_THE_PAD = {"STATUS Landed Earth", "POS -80.6040 28.6083", "HEADING 90",
                                             "CONFIGURATION 0", "FAIRING 1"};
const char *const SAT1 = "PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0.8 0 27.2 700 0 1";
const char *const SAT2 = "PAYLOAD Sat2 Varnell\\Sat Varnell\\Sat -0.8 0 27.2 700 0 1";

double levelOf(const sim::Vessel &v, THRUSTER_HANDLE th) {
  const sim::Thruster *t = const_cast<sim::Vessel &>(v).thruster(sim::idOf(th));
  return t ? t->level : NAN;
}

// Far above the air, the nose along the motion: the thrust changes the
// airspeed by its whole acceleration.
void noseAlongMotion(sim::Vessel &v) {
  v.pos = _V(7000000, 0, 0);
  v.vel = _V(0, 0, 7546);
  v.rot = sim::Mat3::identity();
  v.omega = _V(0, 0, 0);
}

void stepUntil(sim::World &world, const double &clock, double value) {
  for (int guard = 0; clock < value && guard < 100000; ++guard) world.step();
  ASSERT_EQ(clock, value);
}

// With a step of 0.5 s MET lands exactly on the ends of the ramp.
TEST(flight_sequencer, the_count_holds_at_minus_ten_until_B_and_the_ramp_sets_levels_only_strictly_inside_it) {
  sim::World world(".", "");
  world.dt = 0.5;
  VARNELL *l = loadLauncher(world, ON_THE_PAD);
  ASSERT_NE(l, nullptr);
  sim::Vessel &v = *world.find("L1");
  world.step();
  EXPECT_EQ(levelOf(v, l->thVent), 1);           // venting while the booster idles
  l->SetThrusterGroupLevel(THGROUP_HOVER, 0.3);  // the pilot's throttle: nothing takes it before B
  for (int i = 0; i < 3; ++i) world.step();
  EXPECT_EQ(l->met, -10);
  EXPECT_STREQ(world.debugString, "MET -10.0");
  EXPECT_EQ(v.groupLevel(THGROUP_HOVER), 0.3);

  world.pressKey(&v, OAPI_KEY_B);
  struct At {
    double met, hover, vent, ignition;
  };
  // Passed: -0.25 at -5 (not passed), -0.15 at -4.5 and -0.05 at -4, which
  // the host holds at 0; 0.75 at 0 (not passed).
  const At timeline[] = {{-5, 0.3, 1, 0},    {-4.5, 0, 0, 0},    {-4, 0, 0, 0},   {-2, 0.35, 0, 0},
                         {-1.5, 0.45, 0, 1}, {-0.5, 0.65, 0, 1}, {0, 0.65, 0, 1}, {0.5, 0.65, 0, 1}};
  for (const At &at : timeline) {
    stepUntil(world, l->met, at.met);
    SCOPED_TRACE("MET " + std::to_string(at.met));
    EXPECT_NEAR(v.groupLevel(THGROUP_HOVER), at.hover, 1e-12);
    EXPECT_EQ(levelOf(v, l->thVent), at.vent);
    EXPECT_EQ(levelOf(v, l->thIgnition), at.ignition);
  }
}

TEST(flight_sequencer, under_time_acceleration_the_vent_is_off_after_every_step) {
  sim::World world(".", "");
  VARNELL *l = loadLauncher(world, ON_THE_PAD);
  ASSERT_NE(l, nullptr);
  sim::Vessel &v = *world.find("L1");
  world.timeAcceleration = 10;
  world.pressKey(&v, OAPI_KEY_B);
  for (int i = 0; i < 60; ++i) {  // through the count and the ramp
    world.step();
    ASSERT_EQ(levelOf(v, l->thVent), 0) << "MET " << l->met;
  }
  l->SetThrusterGroupLevel(THGROUP_HOVER, 0);
  world.timeAcceleration = 1;
  world.step();
  EXPECT_EQ(levelOf(v, l->thVent), 1);
}

// Samples come more than 0.2 s apart: every other step of 0.125 s.
TEST(flight_sequencer, the_limiter_takes_a_hundredth_once_per_sample_only_above_level_0_6_and_10_m_s2) {
  {
    sim::World world(".", "");
    world.dt = 0.125;
    VARNELL *l = loadLauncher(world, inOrbit({"CONFIGURATION 0"}));
    ASSERT_NE(l, nullptr);
    sim::Vessel &v = *world.find("L1");
    noseAlongMotion(v);
    l->SetThrusterGroupLevel(THGROUP_HOVER, 0.7);  // about 13 m/s^2
    // The first sample measures against time 0 and airspeed 0.
    const double after[] = {0.7, 0.69, 0.69, 0.68, 0.68, 0.67};
    for (double level : after) {
      world.step();
      EXPECT_NEAR(v.groupLevel(THGROUP_HOVER), level, 1e-12) << "t " << world.simTime();
    }
    l->SetThrusterGroupLevel(THGROUP_HOVER, 0.6);  // still above 11 m/s^2
    for (int i = 0; i < 8; ++i) world.step();
    EXPECT_GT(l->airspeedSampler.acceleration, 10);
    EXPECT_EQ(v.groupLevel(THGROUP_HOVER), 0.6);
  }
  sim::World world(".", "");
  world.dt = 0.125;
  VARNELL *l = loadLauncher(world, ON_THE_PAD);
  ASSERT_NE(l, nullptr);
  l->SetThrusterGroupLevel(THGROUP_HOVER, 0.7);  // lifts off at about 2 m/s^2
  for (int i = 0; i < 40; ++i) world.step();
  EXPECT_FALSE(world.find("L1")->landed);
  EXPECT_GT(l->airspeedSampler.acceleration, 1);
  EXPECT_EQ(world.find("L1")->groupLevel(THGROUP_HOVER), 0.7);
}

TEST(flight_sequencer, the_booster_stages_at_100_kg_not_at_100_001_kg_and_at_once_on_J) {
  for (const bool byKey : {false, true}) {
    SCOPED_TRACE(byKey ? "J" : "burn-out");
    sim::World world(".", "");
    VARNELL *l = loadLauncher(world, inOrbit({"CONFIGURATION 0", "FAIRING 1"}));
    ASSERT_NE(l, nullptr);
    sim::Vessel &v = *world.find("L1");
    sim::Tank &booster = *v.tank(sim::idOf(l->phBooster));
    if (!byKey) {
      booster.mass = 100.001;
      world.step();
      EXPECT_EQ(l->configuration, 0);
      EXPECT_EQ(world.find("L1-SEP"), nullptr);
      booster.mass = 100;
    } else {
      EXPECT_EQ(world.pressKey(&v, OAPI_KEY_J), 1);
    }
    world.step();
    EXPECT_EQ(l->configuration, 1);
    EXPECT_NE(world.find("L1-SEP"), nullptr);
    EXPECT_EQ(l->phBooster, nullptr);
    EXPECT_EQ(v.tanks.size(), 2u);
    EXPECT_EQ(l->stageTimer, 0);  // the upper stage's timeline starts with the next step
    EXPECT_FALSE(l->separationCommand);
  }
}

// Loaded as the upper stage, the timeline runs from the load; steps of 0.25 s
// land exactly on its times.
TEST(flight_sequencer, the_upper_stage_ignites_strictly_after_10_s_drops_the_fairing_after_32_5_s_and_J_waits_for_it) {
  sim::World world(".", "");
  world.dt = 0.25;
  VARNELL *l = loadLauncher(world, inOrbit({"CONFIGURATION 1", "FAIRING 1", SAT1}));
  ASSERT_NE(l, nullptr);
  sim::Vessel &v = *world.find("L1");
  const size_t vessels = world.vessels().size();

  stepUntil(world, l->stageTimer, 5);
  world.pressKey(&v, OAPI_KEY_J);  // the fairing is on: dropped
  world.step();
  EXPECT_FALSE(l->separationCommand);
  EXPECT_EQ(world.vessels().size(), vessels);
  EXPECT_TRUE(l->entries[0].used);

  stepUntil(world, l->stageTimer, 10);
  EXPECT_EQ(v.groupLevel(THGROUP_MAIN), 0);
  world.step();
  EXPECT_EQ(v.groupLevel(THGROUP_MAIN), 1);
  stepUntil(world, l->stageTimer, 10.75);
  l->SetThrusterGroupLevel(THGROUP_MAIN, 0);
  world.step();
  EXPECT_EQ(l->stageTimer, 11);
  EXPECT_EQ(v.groupLevel(THGROUP_MAIN), 0);

  stepUntil(world, l->stageTimer, 32.5);
  EXPECT_TRUE(l->fairingAttached);
  EXPECT_EQ(v.groupLevel(THGROUP_MAIN), 0);
  world.step();
  EXPECT_FALSE(l->fairingAttached);
  EXPECT_NE(world.find("Varnellplf1"), nullptr);
  EXPECT_NE(world.find("Varnellplf2"), nullptr);
  EXPECT_EQ(v.groupLevel(THGROUP_MAIN), 1);

  world.pressKey(&v, OAPI_KEY_J);
  world.step();
  EXPECT_NE(world.find("Sat1"), nullptr);
  EXPECT_FALSE(l->entries[0].used);
  EXPECT_EQ(v.groupLevel(THGROUP_MAIN), 0);
}

TEST(flight_sequencer, the_MET_line_shows_5000_and_is_emptied_above_it) {
  sim::World world(".", "");
  world.dt = 0.5;
  VARNELL *l = loadLauncher(world, inOrbit({"CONFIGURATION 0"}));
  ASSERT_NE(l, nullptr);
  world.pressKey(world.find("L1"), OAPI_KEY_B);
  stepUntil(world, l->met, 5000);
  EXPECT_STREQ(world.debugString, "MET 5000.0");
  world.step();
  EXPECT_STREQ(world.debugString, "");
  std::snprintf(world.debugString, sizeof world.debugString, "left by someone else");
  world.step();
  EXPECT_STREQ(world.debugString, "");
}

TEST(flight_sequencer, a_manifest_arriving_in_flight_is_built_into_the_stack_in_the_step_it_arrives) {
  sim::World world(".", "");
  VARNELL *l = loadLauncher(world, inOrbit({"CONFIGURATION 0", "FAIRING 1"}));
  VARNELL *sender = launcherOf(world.createVessel("Base", "Varnell", nullptr));
  ASSERT_TRUE(l && sender);
  const sim::Vessel &v = *world.find("L1");
  const double emptyMass = v.emptyMass;
  const int meshes = usedMeshes(v);
  sender->SendManifestMessage(l, "PAYLOAD", SAT1);
  sender->SendManifestMessage(l, "PAYLOAD", SAT2);
  world.step();
  EXPECT_EQ(v.emptyMass, emptyMass + 1400);
  EXPECT_EQ(usedMeshes(v), meshes + 2);
  EXPECT_EQ(world.log().refusedCount(), 0);
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
  EXPECT_NEAR(orbiting.groupLevel(THGROUP_HOVER), 0.66, 1e-12);
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
  VARNELL *l = launcherOf(&v);
  EXPECT_EQ(v.thrusters.size(), 4u);
  world.step();
  EXPECT_EQ(world.log().refusedCount(), 0);

  world.pressKey(&v, OAPI_KEY_B);
  while (l->met < 0) world.step();
  EXPECT_GT(v.groupLevel(THGROUP_HOVER), 0.7);
  EXPECT_EQ(levelOf(v, l->thIgnition), 1);
  world.pressKey(&v, OAPI_KEY_J);
  while (l->stageTimer < 10.5) world.step();
  EXPECT_NE(world.find("L2-SEP"), nullptr);
  EXPECT_EQ(v.groupLevel(THGROUP_MAIN), 1);
  EXPECT_EQ(world.log().refusedCount(), 0);
}

// Inputs to the fourth power: pitch down 0.5 and yaw left 1 swivel both
// engines alike, bank right 0.5 each the other way; only the booster's take
// in the yaw rate.
TEST(flight_sequencer, the_engines_swivel_after_the_pilots_inputs_in_either_configuration) {
  for (const int configuration : {0, 1}) {
    sim::World world(".", "");
    VARNELL *l = loadLauncher(world, inOrbit({"CONFIGURATION " + std::to_string(configuration)}));
    ASSERT_NE(l, nullptr);
    sim::Vessel &v = *world.find("L1");
    noseAlongMotion(v);
    v.omega = _V(0, 0.002, 0);  // [rad/s]
    v.manualLevel[THGROUP_ATT_PITCHDOWN] = 0.5;
    v.manualLevel[THGROUP_ATT_YAWLEFT] = 1;
    v.manualLevel[THGROUP_ATT_BANKRIGHT] = 0.5;
    world.step();
    THRUSTER_HANDLE *engines = configuration == 0 ? l->thBooster : l->thUpperStage;
    const double x = configuration == 0 ? 0.01 - v.omega.y : 0.01;
    expectVector(v.thruster(sim::idOf(engines[0]))->dir, x, 0.000625 + 0.003125, 1, "engine 0");
    expectVector(v.thruster(sim::idOf(engines[1]))->dir, x, 0.000625 - 0.003125, 1, "engine 1");
  }
}

// The yaw rate enters the booster engines' swivel: with no input it dies
// away under thrust, and only under thrust.
TEST(flight_sequencer, with_no_input_the_full_stack_damps_a_yaw_rate_under_booster_thrust) {
  for (const double level : {0.5, 0.0}) {
    sim::World world(".", "");
    VARNELL *l = loadLauncher(world, inOrbit({"CONFIGURATION 0"}));
    ASSERT_NE(l, nullptr);
    sim::Vessel &v = *world.find("L1");
    noseAlongMotion(v);
    v.omega = _V(0, 0.05, 0);
    l->SetThrusterGroupLevel(THGROUP_HOVER, level);
    double largest = 0;  // [rad/s]
    while (world.simTime() < 5) {
      world.step();
      largest = std::max(largest, std::fabs(v.omega.y));
    }
    SCOPED_TRACE("level " + std::to_string(level));
    EXPECT_LE(largest, 0.05 + 1e-9);
    if (level > 0)
      EXPECT_LT(std::fabs(v.omega.y), 0.005);
    else
      EXPECT_NEAR(v.omega.y, 0.05, 1e-6);
  }
}

}  // namespace
