// The flight sequencer against the real host: the count and the ignition
// ramp, the vent, the acceleration limit, staging, the upper stage's timeline,
// the MET line, manifests arriving in flight, and launchers that the
// simulation creates or that share a name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/launcher.h"

namespace {

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

// With a step of 0.5 s MET lands exactly on the ends of the ramp.
TEST(flight_sequencer, the_count_holds_at_minus_ten_until_B_and_the_ramp_sets_levels_only_strictly_inside_it) {
  Flight f(ON_THE_PAD, 0.5);
  f.world.step();
  EXPECT_EQ(levelOf(*f.v, VENT), 1);                      // venting while the booster idles
  f.v->iface->SetThrusterGroupLevel(THGROUP_HOVER, 0.3);  // the pilot's throttle: nothing takes it before B
  for (int i = 0; i < 3; ++i) f.world.step();
  EXPECT_STREQ(f.world.cockpit().debugString(), "MET -10.0");
  EXPECT_EQ(f.v->groupLevel(THGROUP_HOVER), 0.3);

  f.world.cockpit().pressKey(f.v, OAPI_KEY_B);
  struct At {
    double met, hover, vent, ignition;
  };
  // Passed: -0.25 at -5 (not passed), -0.15 at -4.5 and -0.05 at -4, which
  // the host holds at 0; 0.75 at 0 (not passed).
  const At timeline[] = {{-5, 0.3, 1, 0},    {-4.5, 0, 0, 0},    {-4, 0, 0, 0},   {-2, 0.35, 0, 0},
                         {-1.5, 0.45, 0, 1}, {-0.5, 0.65, 0, 1}, {0, 0.65, 0, 1}, {0.5, 0.65, 0, 1}};
  for (const At &at : timeline) {
    f.stepUntil([&f] { return metShown(f.world); }, at.met);
    SCOPED_TRACE("MET " + std::to_string(at.met));
    EXPECT_NEAR(f.v->groupLevel(THGROUP_HOVER), at.hover, 1e-12);
    EXPECT_EQ(levelOf(*f.v, VENT), at.vent);
    EXPECT_EQ(levelOf(*f.v, IGNITION), at.ignition);
  }
}

// Below a hundredth of the booster's level the tank vents; under time
// acceleration never, whatever else lit it in the step.
TEST(flight_sequencer, the_vent_is_lit_below_a_booster_level_of_0_01_and_off_under_time_acceleration) {
  Flight f(ON_THE_PAD);
  for (const double hover : {0.01, 0.0099, 0.0}) {
    f.v->thrusters[VENT].level = 0;
    f.v->iface->SetThrusterGroupLevel(THGROUP_HOVER, hover);
    f.world.step();
    EXPECT_EQ(levelOf(*f.v, VENT), hover < 0.01) << hover;
  }
  f.world.timeAcceleration = 10;
  f.world.cockpit().pressKey(f.v, OAPI_KEY_B);
  for (int i = 0; i < 60; ++i) {  // through the count and the ramp
    f.world.step();
    ASSERT_EQ(levelOf(*f.v, VENT), 0) << "MET " << metShown(f.world);
  }
}

// Samples come more than 0.2 s apart: with steps of 0.125 s every other step;
// with steps of 0.2 s not at the first, whose interval is exactly 0.2 s. A
// launcher's first sample only records: it has nothing to measure against.
// Two launchers of one name each measure their own airspeed, through their
// own handle: one on the pad (about 2 m/s^2) is not limited by the other's.
TEST(flight_sequencer, the_limiter_takes_a_hundredth_once_per_sample_only_above_level_0_6_and_10_m_s2) {
  // The step [s], the booster group level set, the payload carried [kg] and the level after each step.
  const std::tuple<double, double, double, std::vector<double>> cases[] = {
      {0.125, 0.7, 0, {0.7, 0.7, 0.7, 0.69, 0.69, 0.68, 0.68, 0.67}},  // about 13 m/s^2
      {0.2, 0.7, 0, {0.7, 0.7, 0.69}},
      {0.125, 0.6, 0, {0.6, 0.6, 0.6, 0.6, 0.6, 0.6}},                 // still above 11 m/s^2
      {0.125, 0.7, 100000, {0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7}},  // 9 m/s^2
  };
  for (const auto &[dt, set, payload, after] : cases) {
    Flight f(
        inOrbit({"CONFIGURATION 0", "PAYLOAD P Varnell\\Sat Varnell\\Sat 0 0 30 " + std::to_string(payload) + " 0 1"}),
        dt);
    noseAlongMotion(*f.v);
    f.v->iface->SetThrusterGroupLevel(THGROUP_HOVER, set);
    for (double level : after) {
      f.world.step();
      EXPECT_NEAR(f.v->groupLevel(THGROUP_HOVER), level, 1e-12) << "dt " << dt << ", t " << f.world.simTime();
    }
  }
  Flight f(ON_THE_PAD, 0.125);
  sim::Vessel &pad = *f.v, &orbiting = *flying(f.world, "L1", _V(7000000, 0, 0), _V(0, 0, 7546), {}, "Varnell");
  noseAlongMotion(orbiting);
  for (sim::Vessel *v : {&pad, &orbiting}) v->iface->SetThrusterGroupLevel(THGROUP_HOVER, 0.7);
  run(f.world, 8);
  EXPECT_FALSE(pad.landed);
  EXPECT_EQ(pad.groupLevel(THGROUP_HOVER), 0.7);
  EXPECT_NEAR(orbiting.groupLevel(THGROUP_HOVER), 0.67, 1e-12);
}

// (At once on J, whatever is left: booster_separation.)
TEST(flight_sequencer, the_booster_stages_at_100_kg_not_at_100_001_kg) {
  Flight f(inOrbit({"CONFIGURATION 0", "FAIRING 1"}));
  tankOfSize(*f.v, 181903)->mass = 100.001;  // [kg]
  f.world.step();
  EXPECT_EQ(f.world.vessels().size(), 1u);
  tankOfSize(*f.v, 181903)->mass = 100;
  f.world.step();
  EXPECT_EQ(configurationOf(*f.v), 1);
  EXPECT_NE(f.world.find("L1-SEP"), nullptr);
  EXPECT_EQ(tankOfSize(*f.v, 181903), nullptr);
}

// Loaded as the upper stage with the fairing on, the timeline runs from the
// load; steps of 0.25 s land exactly on its times. (Loaded without it, the
// stage has passed its timeline and stays unlit: the nested release flight.)
TEST(flight_sequencer, the_upper_stage_ignites_strictly_after_10_s_drops_the_fairing_after_32_5_s_and_J_waits_for_it) {
  Flight f(inOrbit({"CONFIGURATION 1", "FAIRING 1", SAT1}), 0.25);
  // The booster tank of the class, gone at the load, was never in flight.
  EXPECT_TRUE(f.world.record().events().empty());
  const size_t vessels = f.world.vessels().size();
  f.stepUntilTime(5);
  f.press(OAPI_KEY_J);  // the fairing is on: dropped
  EXPECT_EQ(f.world.vessels().size(), vessels);

  f.stepUntilTime(10);
  EXPECT_EQ(f.v->groupLevel(THGROUP_MAIN), 0);
  f.world.step();
  EXPECT_EQ(f.v->groupLevel(THGROUP_MAIN), 1);
  f.stepUntilTime(10.75);
  f.v->iface->SetThrusterGroupLevel(THGROUP_MAIN, 0);
  f.world.step();  // at 11 s
  EXPECT_EQ(f.v->groupLevel(THGROUP_MAIN), 0);

  f.stepUntilTime(32.5);
  EXPECT_EQ(f.v->groupLevel(THGROUP_MAIN), 0);
  f.world.step();  // the fairing goes (fairing_jettison), and the engine is lit again
  EXPECT_EQ(f.v->groupLevel(THGROUP_MAIN), 1);
  f.press(OAPI_KEY_J);
  EXPECT_NE(f.world.find("Sat1"), nullptr);
  EXPECT_EQ(f.v->groupLevel(THGROUP_MAIN), 0);
}

// What a stage read from a scenario shows places it in its timeline: full, it
// has not been lit and lights 10 s after the load; burnt, it is never lit
// again (a coast of 600 s keeps its tank).
TEST(flight_sequencer, an_upper_stage_read_without_fairing_lights_10_s_after_the_load_unless_it_has_burnt) {
  for (const auto &[level, lit] : {std::pair{"PRPLEVEL 0:1 1:1", true}, {"PRPLEVEL 0:0.5 1:1", false}}) {
    Flight f(inOrbit({"CONFIGURATION 1", level}), 0.25);
    f.stepUntilTime(10);
    EXPECT_EQ(f.v->groupLevel(THGROUP_MAIN), 0) << level;
    f.world.step();
    EXPECT_EQ(f.v->groupLevel(THGROUP_MAIN), lit ? 1 : 0) << level;
    if (lit) continue;
    f.stepUntilTime(600);
    EXPECT_EQ(f.v->tanks[0].mass, 0.5 * f.v->tanks[0].maxMass);
  }
}

// Read in flight, a stack has been launched: B starts no count, so the ramp
// never takes the booster's level from the pilot, and MET runs from the load.
// At time acceleration a frame that steps over a whole window of the timeline
// acts all the same: the ramp at its end level, the ignition at once.
TEST(flight_sequencer, B_in_flight_leaves_the_booster_alone_and_long_frames_do_not_skip_the_timeline) {
  {
    Flight flying(inOrbit({"CONFIGURATION 0", "THLEVEL 0:0.55 1:0.55"}), 0.5);
    for (int i = 0; i < 20; ++i) {
      flying.press(OAPI_KEY_B);
      ASSERT_EQ(flying.v->groupLevel(THGROUP_HOVER), 0.55) << i;
    }
    EXPECT_EQ(metShown(flying.world), 10);
  }
  {
    Flight pad(ON_THE_PAD);
    pad.world.timeAcceleration = 500;  // frames of 10 s: MET -10 to 0 in one
    pad.press(OAPI_KEY_B);
    EXPECT_EQ(std::make_pair(pad.v->groupLevel(THGROUP_HOVER), levelOf(*pad.v, IGNITION)), std::make_pair(0.75, 1.0));
  }
  Flight stage(inOrbit({"CONFIGURATION 1", "FAIRING 1"}));
  stage.world.timeAcceleration = 150;  // frames of 3 s: 9 s, then 12 s after the load
  for (double lit : {0, 0, 0, 1}) {
    stage.world.step();
    EXPECT_EQ(stage.v->groupLevel(THGROUP_MAIN), lit) << stage.world.simTime();
  }
}

// The line rounds MET to tenths as printf's "%.1f" does: steps of 0.05 s
// bring METs a little off a half (0.15 a little below, 0.05 above), steps of
// 0.25 s METs exactly on one, which go to the even tenth; 0 shows as "-0.0"
// when MET is a little below it.
TEST(flight_sequencer, the_MET_line_rounds_as_printf_does_shows_5000_and_is_emptied_above_it) {
  for (const double step : {0.05, 0.25}) {
    Flight counting(ON_THE_PAD, step);
    counting.press(OAPI_KEY_B);
    for (double met = -10 + step; met < 10; met += step) {
      char shown[32];
      std::snprintf(shown, sizeof shown, "MET %.1f", met);
      ASSERT_STREQ(counting.world.cockpit().debugString(), shown) << step;
      counting.world.step();
    }
  }
  Flight f(inOrbit({"CONFIGURATION 0"}), 5);  // long frames up to the last 5 s, then half seconds
  f.world.cockpit().pressKey(f.v, OAPI_KEY_B);
  f.stepUntil([&f] { return metShown(f.world); }, 4995);
  f.world.dt = 0.5;
  f.stepUntil([&f] { return metShown(f.world); }, 5000);
  EXPECT_STREQ(f.world.cockpit().debugString(), "MET 5000.0");
  f.world.step();
  EXPECT_STREQ(f.world.cockpit().debugString(), "");
  std::snprintf(f.world.cockpit().debugString(), 256, "left by someone else");
  f.world.step();
  EXPECT_STREQ(f.world.cockpit().debugString(), "");
}

// Whatever its key, a message with a text rebuilds the stack in the step it
// arrives: payloads and mass follow the manifest, the engines, flames and
// vents burn on at the levels they had, and the attitude thrusters (the upper
// stage's, after its two engines) start at 0: the level they report holds
// the pilot's input of the frame.
TEST(flight_sequencer, a_message_rebuilds_the_stack_it_arrives_on_keeping_its_engines_levels) {
  // The configuration, the messages' keys, and the mass they add [kg].
  const std::tuple<int, std::vector<std::string>, double> cases[] = {
      {0, {"NOTES"}, 0}, {0, {"PAYLOAD", "PAYLOAD"}, 1400}, {1, {"PAYLOAD"}, 700}, {1, {"NOTES"}, 0}};
  for (const auto &[configuration, keys, mass] : cases) {
    SCOPED_TRACE("configuration " + std::to_string(configuration) + ", " + keys[0]);
    Flight f(inOrbit({"CONFIGURATION " + std::to_string(configuration), "FAIRING 1"}));
    std::vector<double> levels;
    for (size_t i = 0; i < f.v->thrusters.size(); ++i) levels.push_back(f.v->thrusters[i].permanent = 0.05 + 0.07 * i);
    const double emptyMass = f.v->emptyMass;
    const int meshes = usedMeshes(*f.v);
    Messages messages;
    for (size_t i = 0; i < keys.size(); ++i)
      messages.send(f.v->iface, keys[i], keys[i] == "NOTES" ? "a note" : i ? SAT2 : SAT1);
    f.world.step();
    EXPECT_EQ(configurationOf(*f.v), configuration);
    EXPECT_EQ(f.v->emptyMass, emptyMass + mass);
    EXPECT_EQ(usedMeshes(*f.v), meshes + (mass > 0 ? static_cast<int>(keys.size()) : 0));
    ASSERT_EQ(f.v->thrusters.size(), levels.size());
    for (size_t i = 0; i < levels.size(); ++i)
      EXPECT_EQ(f.v->thrusters[i].level, configuration == 1 && i >= 2 ? 0 : levels[i]) << "thruster " << i;
    EXPECT_EQ(f.world.log().refusedCount(), 0);
  }
}

// Created inside a step with a status record only, as another module would:
// built at creation, it counts down, ramps, stages and ignites its upper stage
// without a handle that names nothing.
TEST(flight_sequencer, a_launcher_created_while_the_simulation_runs_flies_on_engines_that_exist) {
  Flight f(ON_THE_PAD);
  f.world.pilot = [](sim::World &w) {
    if (w.simTime() < 1 || w.find("L2")) return;
    VESSELSTATUS vs{};
    vs.rpos = _V(7000000, 0, 0);
    vs.rvel = _V(0, 0, 7546);
    vs.fuel = 1;
    oapiCreateVessel("L2", "Varnell", vs);
  };
  while (!f.world.find("L2")) f.world.step();
  f.world.pilot = nullptr;
  sim::Vessel &v = *f.world.find("L2");
  EXPECT_EQ(v.thrusters.size(), 4u);
  f.world.cockpit().pressKey(&v, OAPI_KEY_B);
  while (metShown(f.world) < 0) f.world.step();  // L2 writes the debug line after L1
  EXPECT_GT(v.groupLevel(THGROUP_HOVER), 0.7);
  EXPECT_EQ(levelOf(v, IGNITION), 1);
  f.press(OAPI_KEY_J, &v);
  ASSERT_NE(f.world.find("L2-SEP"), nullptr);
  while (f.world.simTime() < f.world.find("L2-SEP")->createdAt + 10.5) f.world.step();
  EXPECT_EQ(v.groupLevel(THGROUP_MAIN), 1);
  EXPECT_EQ(f.world.log().refusedCount(), 0);
}

// Inputs to the fourth power: pitch down 0.5 and yaw left 1 swivel both
// engines alike, bank right 0.5 each the other way; only the booster's take
// in the yaw rate, so that a yaw rate dies away under booster thrust, and
// only under thrust.
TEST(flight_sequencer, the_engines_swivel_after_the_pilots_inputs_and_the_booster_damps_a_yaw_rate) {
  for (const int configuration : {0, 1}) {
    Flight f(inOrbit({"CONFIGURATION " + std::to_string(configuration)}));
    noseAlongMotion(*f.v);
    f.v->omega = _V(0, 0.002, 0);  // [rad/s]
    double *input = f.world.cockpit().input;
    input[THGROUP_ATT_PITCHDOWN] = 0.5;
    input[THGROUP_ATT_YAWLEFT] = 1;
    input[THGROUP_ATT_BANKRIGHT] = 0.5;
    f.world.step();
    const double x = configuration == 0 ? 0.01 - f.v->omega.y : 0.01;
    expectNear(f.v->thrusters[0].dir, _V(x, 0.000625 + 0.003125, 1), 1e-9, "engine 0");
    expectNear(f.v->thrusters[1].dir, _V(x, 0.000625 - 0.003125, 1), 1e-9, "engine 1");
  }
  for (const double level : {0.5, 0.0}) {
    SCOPED_TRACE("level " + std::to_string(level));
    Flight f(inOrbit({"CONFIGURATION 0"}));
    noseAlongMotion(*f.v);
    f.v->omega = _V(0, 0.05, 0);
    f.v->iface->SetThrusterGroupLevel(THGROUP_HOVER, level);
    double largest = 0;  // [rad/s]
    for (; f.world.simTime() < 5; f.world.step()) largest = std::max(largest, std::fabs(f.v->omega.y));
    EXPECT_LE(largest, 0.05 + 1e-9);
    EXPECT_NEAR(f.v->omega.y, level > 0 ? 0 : 0.05, level > 0 ? 0.005 : 1e-6);
  }
}

}  // namespace
