// The pilot in a real world: the attitude hold (holding an attitude, as the
// instruments read it, converges on rotation thrusters that the levels drive
// directly; on the launcher's swivelling engines: the default mission); and
// its rules: when each fires, that it fires once (or again only after its
// condition lapsed), and what reaches the vessels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "sim/physics/planet/attitude.h"
#include "sim/physics/planet/planet.h"
#include "sim/pilot/attitude_hold.h"
#include "sim/pilot/instruments.h"
#include "sim/pilot/pilot.h"
#include "tests/support/runner.h"
#include "tests/support/tree.h"

using namespace sim;
using namespace sim::pilot;

namespace {

const double kDeg = M_PI / 180;  // [rad/deg]

void expectAttitude(const World &w, const Vessel &v, double pitch, double heading, double bank, double tolerance) {
  const Attitude a = attitudeOf(v.rot, horizonAt(v.pos, w.planetPose().axis()));
  EXPECT_NEAR(a.pitch / kDeg, pitch, tolerance);
  EXPECT_NEAR(a.heading / kDeg, heading, tolerance);
  EXPECT_NEAR(a.bank / kDeg, bank, tolerance);
  EXPECT_LT(length(v.omega), 1e-3);
}

// Couples of 100 N thrusters 2 m out, one couple per attitude input.
struct Couple {
  THGROUP_TYPE type;
  VECTOR3 pos, dir;  // the first thruster; the second sits at -pos pushing along -dir
};
const Couple kCouples[] = {
    {THGROUP_ATT_PITCHUP, {0, 0, 2}, {0, 1, 0}},    {THGROUP_ATT_PITCHDOWN, {0, 0, 2}, {0, -1, 0}},
    {THGROUP_ATT_YAWLEFT, {0, 0, -2}, {1, 0, 0}},   {THGROUP_ATT_YAWRIGHT, {0, 0, -2}, {-1, 0, 0}},
    {THGROUP_ATT_BANKRIGHT, {-2, 0, 0}, {0, 1, 0}}, {THGROUP_ATT_BANKLEFT, {-2, 0, 0}, {0, -1, 0}}};

std::vector<const Event *> eventsOf(const World &w, const std::string &kind) {
  std::vector<const Event *> out;
  for (const Event &e : w.record().events())
    if (sim::eventKindName(e.kind) == kind) out.push_back(&e);
  return out;
}

// A module that notes the focus and RCS-mode callbacks it hears, in order.
class Listener final : public VESSEL2 {
 public:
  Listener(OBJHANDLE h, std::vector<std::string> &heard) : VESSEL2(h), heard_(heard) {}
  void clbkFocusChanged(bool getfocus, OBJHANDLE hNew, OBJHANDLE hOld) override {
    heard_.push_back(nameOf(GetHandle()) + (getfocus ? " gains " : " loses ") + nameOf(hNew) + "<" + nameOf(hOld));
  }
  void clbkRCSMode(int mode) override { heard_.push_back(nameOf(GetHandle()) + " rcs " + std::to_string(mode)); }

 private:
  static std::string nameOf(OBJHANDLE h) { return h ? static_cast<Vessel *>(h)->name : "-"; }
  std::vector<std::string> &heard_;
};

void fly(World &w, pilot::Pilot &p, int steps) {
  w.pilot = [&p](World &world) { p.act(world); };
  run(w, steps);
}

}  // namespace

TEST(attitude_hold, rotation_thrusters_driven_by_the_levels_bring_the_vessel_onto_the_attitude) {
  ScratchWorld w;
  const Horizon h = horizonAt(kDeepSpace, w->planetPose().axis());
  VESSELSTATUS s{};
  s.rpos = kDeepSpace;
  s.arot = physics::arotFromRot(Mat3::fromColumns(crossp(h.north, h.east), h.north, h.east));  // nose east, top north
  Vessel *v = w->createVessel("Held", "Probe", &s);
  PROPELLANT_HANDLE tank = v->iface->CreatePropellantResource(500);
  for (const Couple &c : kCouples) {
    THRUSTER_HANDLE th[2] = {v->iface->CreateThruster(c.pos, c.dir, 100, tank, 3000),
                             v->iface->CreateThruster(-c.pos, -c.dir, 100, tank, 3000)};
    v->iface->CreateThrusterGroup(th, 2, c.type);
  }
  // What it steers by: the turn from the attitude held onto the one wanted, its angle along its axis
  // (of a half turn, which has no sense of its own, along the axis as the matrix gives it).
  for (const VECTOR3 &want : {_V(100 * kDeg, 0, 0), _V(0, M_PI, 0)})
    EXPECT_NEAR(length(attitudeError(Mat3::identity(), physics::rotFromArot(want)) - want), 0, 1e-12) << want.y;
  Pilot p(pilotProgram("actuator 1 1 1 1\ngains 3 6\nat 0 steer heading 45 pitch 30\n"));
  expectAttitude(*w, *v, 0, 90, -90, 1e-9);  // nose east, top north
  fly(*w, p, 6000);
  expectAttitude(*w, *v, 30, 45, 0, 0.05);
}

TEST(attitude_hold, a_pitch_program_is_followed_between_its_points_and_held_beyond_them) {
  PitchProgram p{PitchProgram::Source::time, {{0, 90 * kDeg}, {10, 80 * kDeg}, {110, 30 * kDeg}}};
  EXPECT_DOUBLE_EQ(programPitch(p, -5), 90 * kDeg);
  EXPECT_NEAR(programPitch(p, 5), 85 * kDeg, 1e-12);
  EXPECT_NEAR(programPitch(p, 60), 55 * kDeg, 1e-12);
  EXPECT_DOUBLE_EQ(programPitch(p, 500), 30 * kDeg);
}

// Each at the step that starts at its time (1 s, not the one after), named
// by name and scan code; a repeating rule fires again only after its
// condition lapsed; a rule for a vessel not yet there waits for it.
TEST(pilot_rules, keys_reach_their_vessels_once_at_their_step_or_again_after_their_condition_lapsed) {
  ScratchWorld w;
  flying(*w, "A", _V(1e9, 0, 0), {});
  flying(*w, "B", _V(1e9, 1e3, 0), {});
  pilot::Pilot p(
      pilotProgram("vessel B\nat 1 key rshift+ctrl+J\nvessel A\nat 0 key B\nwhenever exists Ghost key J\n"
                   "when exists Ghost key B\nvessel Late\nat 0 key B\n"));
  w->pilot = [&p](World &world) { p.act(world); };
  for (int i = 0; i < 300; ++i) {
    if (i == 50 || i == 200) flying(*w, "Ghost", _V(1e9, 5e3, 0), {});
    if (i == 60) flying(*w, "Late", _V(1e9, 7e3, 0), {});
    if (i == 120) w->deleteVessel(w->find("Ghost"));
    w->step();
  }
  std::multiset<std::string> keys;
  for (const Event *e : eventsOf(*w, "key")) {
    char t[16];
    std::snprintf(t, sizeof t, "%.9f ", e->t);
    keys.insert(t + e->vessel + " " + e->detail);
  }
  EXPECT_EQ(keys, (std::multiset<std::string>{"0.000000000 A B 0x30 down", "1.000000000 B RShift+Ctrl+J 0x24 down",
                                              "1.000000000 A J 0x24 down", "1.000000000 A B 0x30 down",
                                              "1.200000000 Late B 0x30 down", "4.000000000 A J 0x24 down"}));
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

// The rules of a step are read one after another; each reads its own vessel's orbit.
TEST(pilot_rules, an_orbit_rule_reads_the_orbit_of_its_own_vessel) {
  ScratchWorld w;
  for (const auto &[name, radius] : {std::make_pair("Low", 6.7e6), std::make_pair("High", 7.4e6)})
    flying(*w, name, _V(radius, 0, 0), _V(0, 0, std::sqrt(w->planet.gm / radius)));
  pilot::Pilot p(
      pilotProgram("vessel Low\nwhen periapsis > 600000 key B\nvessel High\nwhen periapsis > 600000 key J\n"));
  fly(*w, p, 1);
  const auto keys = eventsOf(*w, "key");
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0]->vessel + " " + keys[0]->detail, "High J 0x24 down");
}

TEST(pilot_rules, the_throttle_cut_on_a_tank_reading_leaves_what_was_there_at_that_step) {
  ScratchWorld w;
  Vessel *v = flying(*w, "Burner", _V(1e9, 0, 0), {});
  PROPELLANT_HANDLE tank = v->iface->CreatePropellantResource(500);  // tank 1; tank 0 is the class's
  THRUSTER_HANDLE th = v->iface->CreateThruster(_V(0, 0, -1), _V(0, 0, 1), 3000, tank, 3000);  // 1 kg/s
  v->iface->CreateThrusterGroup(&th, 1, THGROUP_MAIN);
  // Tank 5 is not there: its rule never fires (and reading it raises no floating-point fault).
  pilot::Pilot p(
      pilotProgram("at 0 throttle main 1\nwhen tank 1 < 400 throttle main 0\nwhen tank 5 < 1e9 throttle main 1\n"));
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
  const double *input = w->cockpit().input;
  fly(*w, p, 10);
  EXPECT_EQ(input[THGROUP_ATT_PITCHUP], 0.5);
  EXPECT_EQ(v->iface->GetManualControlLevel(THGROUP_ATT_BANKLEFT), 1);
  fly(*w, p, 50);
  EXPECT_EQ(input[THGROUP_ATT_PITCHUP], 0);  // a new input replaces all that were held
  EXPECT_EQ(input[THGROUP_ATT_YAWRIGHT], 0.25);
  EXPECT_EQ(p.ended(), nullptr);
  fly(*w, p, 50 + 5);
  EXPECT_EQ(w->timeAcceleration, 5);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(input[i], 0);
  ASSERT_NE(p.ended(), nullptr);
  EXPECT_EQ(p.ended()->line, 5);
}

// One keyboard: a rule on a vessel that is not the focus switches the focus
// first, as the simulator's Orbiter::SetFocusObject does (the vessel left
// hears clbkFocusChanged first, then the new one, each given the new and the
// old focus); the person lets go of the inputs and the attitude hold of the
// vessel left ends. SetAttitudeMode calls clbkRCSMode on a change only.
TEST(pilot_rules, a_rule_on_another_vessel_takes_the_keyboard_from_the_one_held) {
  ScratchWorld w;
  Vessel *a = flying(*w, "A", kDeepSpace, {}, _V(0.01, 0, 0));  // turning: the hold has work to do
  Vessel *b = flying(*w, "B", kDeepSpace + _V(0, 1e3, 0), {});
  std::vector<std::string> heard;
  Listener la(a, heard), lb(b, heard);
  struct Swap {
    Vessel *v;
    VESSEL *own;
    ~Swap() { v->iface = own; }
  } swaps[] = {{a, a->iface}, {b, b->iface}};
  a->iface = &la;
  b->iface = &lb;
  w->focusVessel = "A";
  Pilot p(pilotProgram("vessel A\nat 0 steer heading 0 pitch 0\nvessel B\nat 1 rcs lin\nat 2 rcs lin\n"));
  const double *input = w->cockpit().input;
  fly(*w, p, 10);
  EXPECT_GT(*std::max_element(input, input + 15), 0);
  EXPECT_TRUE(heard.empty());  // A had the focus already
  fly(*w, p, 150);
  EXPECT_EQ(heard, (std::vector<std::string>{"A loses B<A", "B gains B<A", "B rcs 2"}));
  EXPECT_EQ(w->focusVessel, "B");
  EXPECT_EQ(*std::max_element(input, input + 15), 0);
  EXPECT_EQ(std::vector<int>({a->attitudeMode, b->attitudeMode}), std::vector<int>({RCS_ROT, RCS_LIN}));
  const auto focus = eventsOf(*w, "focus");
  ASSERT_EQ(focus.size(), 1u);
  EXPECT_EQ(focus[0]->vessel + " " + focus[0]->detail, "B from A");
}
