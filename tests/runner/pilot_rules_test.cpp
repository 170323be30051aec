// The pilot carrying out its rules in a real world: when each fires, that it
// fires once (or again only after its condition lapsed), and what reaches
// the vessels.
#include <gtest/gtest.h>

#include <vector>

#include "sim/pilot/pilot.h"
#include "tests/support/pilot.h"
#include "tests/support/tree.h"

using namespace sim;

namespace {

std::vector<const Event *> eventsOf(const World &w, const std::string &kind) {
  std::vector<const Event *> out;
  for (const Event &e : w.events)
    if (e.kind == kind) out.push_back(&e);
  return out;
}

void fly(World &w, pilot::Pilot &p, int steps) {
  w.pilot = [&p](World &world) { p.act(world); };
  run(w, steps);
}

}  // namespace

TEST(pilot_rules, a_timed_key_reaches_the_named_vessel_once_at_its_step) {
  ScratchWorld w;
  flying(*w, "A", _V(1e9, 0, 0), {});
  flying(*w, "B", _V(1e9, 1e3, 0), {});
  pilot::Pilot p(pilotProgram("vessel B\nat 1 key rshift+ctrl+J\nvessel A\nat 0 key B\n"));
  fly(*w, p, 150);
  const auto keys = eventsOf(*w, "key");
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0]->vessel, "A");
  EXPECT_EQ(keys[0]->t, 0);
  EXPECT_EQ(keys[0]->detail, "B 0x30 down");  // by name, then the scan code
  EXPECT_EQ(keys[1]->vessel, "B");
  EXPECT_NEAR(keys[1]->t, 1.0, 1e-9);  // the step that starts at 1 s, not the one after
  EXPECT_EQ(keys[1]->detail, "RShift+Ctrl+J 0x24 down");
}

TEST(pilot_rules, an_altitude_rule_fires_at_the_first_step_that_starts_above_it) {
  ScratchWorld w;
  const double r = w->planet.radius;
  Vessel *v = flying(*w, "Arc", _V(r + 1000, 0, 0), _V(200, 0, 464));  // thrown up, with the ground's own motion
  pilot::Pilot p(pilotProgram("when altitude > 1500 key B\n"));
  std::vector<std::pair<double, double>> altitudes;  // at the start of each step
  w->pilot = [&](World &world) {
    altitudes.push_back({world.simTime(), length(v->pos) - r});
    p.act(world);
  };
  for (int i = 0; i < 2000; ++i) w->step();  // up to 3 km and down again past 1.5 km
  const auto keys = eventsOf(*w, "key");
  ASSERT_EQ(keys.size(), 1u);
  size_t first = 0;
  while (altitudes[first].second <= 1500) ++first;
  EXPECT_EQ(keys[0]->t, altitudes[first].first);
  EXPECT_LT(altitudes.back().second, 1500);
}

TEST(pilot_rules, a_repeating_rule_fires_again_only_after_its_condition_lapsed) {
  ScratchWorld w;
  flying(*w, "Watcher", _V(1e9, 0, 0), {});
  pilot::Pilot p(pilotProgram("whenever exists Ghost key J\nwhen exists Ghost key B\n"));
  w->pilot = [&p](World &world) { p.act(world); };
  for (int i = 0; i < 300; ++i) {
    if (i == 50 || i == 200) flying(*w, "Ghost", _V(1e9, 5e3, 0), {});
    if (i == 120) w->deleteVessel(w->find("Ghost"));
    w->step();
  }
  std::vector<double> j, b;
  for (const Event *e : eventsOf(*w, "key")) (e->detail == "J 0x24 down" ? j : b).push_back(e->t);
  ASSERT_EQ(j.size(), 2u);
  EXPECT_NEAR(j[0], 50 * 0.02, 1e-9);
  EXPECT_NEAR(j[1], 200 * 0.02, 1e-9);
  EXPECT_EQ(b.size(), 1u);
}

TEST(pilot_rules, a_rule_for_a_vessel_not_yet_there_waits_for_it) {
  ScratchWorld w;
  flying(*w, "First", _V(1e9, 0, 0), {});
  pilot::Pilot p(pilotProgram("vessel Late\nat 0 key B\n"));
  w->pilot = [&p](World &world) { p.act(world); };
  for (int i = 0; i < 100; ++i) {
    if (i == 60) flying(*w, "Late", _V(1e9, 5e3, 0), {});
    w->step();
  }
  const auto keys = eventsOf(*w, "key");
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0]->vessel, "Late");
  EXPECT_NEAR(keys[0]->t, 60 * 0.02, 1e-9);
}

TEST(pilot_rules, the_throttle_cut_on_a_tank_reading_leaves_what_was_there_at_that_step) {
  ScratchWorld w;
  Vessel *v = flying(*w, "Burner", _V(1e9, 0, 0), {});
  PROPELLANT_HANDLE tank = v->iface->CreatePropellantResource(500);  // tank 1; tank 0 is the class's
  THRUSTER_HANDLE th = v->iface->CreateThruster(_V(0, 0, -1), _V(0, 0, 1), 3000, tank, 3000);  // 1 kg/s
  v->iface->CreateThrusterGroup(&th, 1, THGROUP_MAIN);
  pilot::Pilot p(pilotProgram("at 0 throttle main 1\nwhen tank 1 < 400 throttle main 0\n"));
  fly(*w, p, 10000);
  EXPECT_EQ(v->groupLevel(THGROUP_MAIN), 0);
  EXPECT_LT(v->tanks[1].mass, 400);
  EXPECT_GT(v->tanks[1].mass, 400 - 1.0 * 0.02 * 1.0001);
  EXPECT_EQ(v->tanks[0].mass, 500);
  EXPECT_EQ(eventsOf(*w, "group-level").size(), 2u);
}

TEST(pilot_rules, inputs_are_held_until_released_and_time_acceleration_and_end_take_effect) {
  ScratchWorld w;
  Vessel *v = flying(*w, "Hand", _V(1e9, 0, 0), {});
  pilot::Pilot p(
      pilotProgram("at 0 input pitchup 0.5 bankleft 1\nat 1 input yawright 0.25\nat 2 input none\n"
              "at 2 timewarp 5\nat 2.5 end\n"));
  fly(*w, p, 10);
  EXPECT_EQ(v->manualLevel[THGROUP_ATT_PITCHUP], 0.5);
  EXPECT_EQ(v->manualLevel[THGROUP_ATT_BANKLEFT], 1);
  fly(*w, p, 50);
  EXPECT_EQ(v->manualLevel[THGROUP_ATT_PITCHUP], 0);  // a new input replaces all that were held
  EXPECT_EQ(v->manualLevel[THGROUP_ATT_YAWRIGHT], 0.25);
  EXPECT_EQ(p.ended(), nullptr);
  fly(*w, p, 50 + 5);
  EXPECT_EQ(w->timeAcceleration, 5);
  for (double level : v->manualLevel) EXPECT_EQ(level, 0);
  ASSERT_NE(p.ended(), nullptr);
  EXPECT_EQ(p.ended()->line, 5);
}
