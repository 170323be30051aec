// Payloads released from the upper stage on J as vessels of their own, a
// stage's entries handed on to it as manifest messages, and a released
// dispenser that takes them in and releases them in turn.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

const double STACK_ORIGIN_Z = -20.169;  // of the payloads on the upper stage [m]

std::string entry(const char *kind, const char *name, const char *z, const char *cls = "Varnell\\Sat") {
  return std::string(kind) + " " + name + " Varnell\\Sat " + cls + " 0 0 " + z + " 100 0 1";
}
// The message handing on an entry z metres ahead of the released stage.
std::string sent(const char *kind, const char *name, const char *z) {
  return std::string(kind) + "|" + kind + " " + name + " Varnell\\Sat Varnell\\Sat 0.00 0.00 " + z +
         " 100.00 0.00 1.00";
}
const char *const CLOSED = "ENDSTAGE|ENDSTAGE";

// On the pad too it leaves in flight, from its place; turned, it spins in space as the launcher did.
TEST(payload_release, a_top_level_payload_leaves_from_its_place_pushed_off_fuelled_and_turned) {
  struct Turn {
    const char *angle;  // [deg]
    VECTOR3 y, z;       // the payload's axes in the launcher's frame
    bool onThePad;
  };
  for (const Turn &t : {Turn{"0", {0, 1, 0}, {0, 0, 1}, false}, Turn{"90", {0, 0, 1}, {0, -1, 0}, false},
                        Turn{"90", {0, 0, 1}, {0, -1, 0}, true}}) {
    SCOPED_TRACE(std::string(t.angle) + (t.onThePad ? " on the pad" : ""));
    const std::string line = std::string("PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 1.2 0 3.1 600 ") + t.angle + " 0.5";
    Flight f(releasing({line}, t.onThePad));
    EXPECT_EQ(f.v->emptyMass, 2730);
    f.press(OAPI_KEY_J);
    const sim::Vessel *sat = f.world.find("Sat1");
    ASSERT_NE(sat, nullptr);
    expectNear(placeFrom(f.v->frameStart, *sat), _V(1.2, 0, 3.1 + STACK_ORIGIN_Z));
    expectNear(velocityFrom(f.v->frameStart, *sat), _V(2, 0, 0));  // straight out from the axis
    expectNear(sat->rot * sat->omega, f.v->frameStart.rot * f.v->frameStart.omega, 1e-12);
    const VECTOR3 axes[] = {{1, 0, 0}, t.y, t.z};
    for (int i = 0; i < 3; ++i) expectNear(f.v->frameStart.rot.tmul(sat->rot.column(i)), axes[i], 1e-9);
    EXPECT_EQ(sat->tanks.at(0).mass, 50);  // half of its class's 100 kg
    EXPECT_TRUE(Messages().pending(sat->iface).empty());
    EXPECT_EQ(f.v->emptyMass, 2130);  // rebuilt at once without it
    EXPECT_EQ(usedMeshes(*f.v), 1);
    f.press(OAPI_KEY_J);
    EXPECT_EQ(f.world.vessels().size(), 2u);
  }
}

// On the axis, or within about 8.1 degrees of it, forward at 0.5 m/s; else
// straight out from the axis at 2 m/s. Released from the end, the last first:
// with every slot taken, from slot 49.
TEST(payload_release, a_payload_is_pushed_forward_on_the_axis_and_outward_beside_it_the_last_first) {
  struct Push {
    const char *offset;
    VECTOR3 velocity;  // [m/s]
  };
  const Push pushes[] = {{"0 0 0", {0, 0, 0.5}},   {"0 0 5", {0, 0, 0.5}},   {"3 4 1", {1.2, 1.6, 0}},
                         {"0 0.1 5", {0, 0, 0.5}}, {"0 0.1 0.5", {0, 2, 0}}, {"0.005 0 0", {0, 0, 0.5}}};
  std::vector<std::string> manifest(44, entry("PAYLOAD", "Filler", "3"));
  for (int i = 0; i < 6; ++i)
    manifest.push_back("PAYLOAD P" + std::to_string(i) + " Varnell\\Sat Varnell\\Sat " + pushes[i].offset + " 1 0 1");
  Flight f(releasing(manifest));
  for (int i = 5; i >= 0; --i) {
    f.press(OAPI_KEY_J);
    const sim::Vessel *p = f.world.find("P" + std::to_string(i));
    ASSERT_NE(p, nullptr) << i;
    expectNear(velocityFrom(f.v->frameStart, *p), pushes[i].velocity, 1e-9, pushes[i].offset);
  }
}

// Every stage that ends gets its own closing, so the receiver nests all as it
// was. A stage keeps the launcher's axes, on the pad too.
TEST(payload_release, a_stage_leaves_with_its_entries_sent_after_it_measured_from_the_stage) {
  using Releases = std::vector<std::pair<const char *, std::vector<std::string>>>;  // each vessel and what it gets
  const std::pair<std::vector<std::string>, Releases> cases[] = {
      {{"STAGE Kick1 Varnell\\Sat Varnell\\Sat 0 0 2.5 950 45 1",
        "PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 1.2 0 3.1 600 90 0.555", entry("PAYLOAD", "Sat2", "4"), "ENDSTAGE"},
       {{"Kick1",
         {"PAYLOAD|PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 1.20 0.00 0.60 600.00 90.00 0.56",
          sent("PAYLOAD", "Sat2", "1.50"), CLOSED}}}},
      {{entry("STAGE", "A", "1"), entry("PAYLOAD", "p1", "2"), entry("STAGE", "B", "3"), entry("PAYLOAD", "p2", "4"),
        "ENDSTAGE", "ENDSTAGE"},
       {{"B", {sent("PAYLOAD", "p2", "1.00"), CLOSED}}, {"A", {sent("PAYLOAD", "p1", "1.00"), CLOSED}}}},
      {{entry("STAGE", "A", "1"), entry("STAGE", "B", "3"), entry("PAYLOAD", "p", "4"), "ENDSTAGE", "ENDSTAGE"},
       {{"A", {sent("STAGE", "B", "2.00"), sent("PAYLOAD", "p", "3.00"), CLOSED, CLOSED}}}},
  };
  for (const auto &[manifest, releases] : cases)
    for (const bool onThePad : {false, true}) {
      SCOPED_TRACE(onThePad ? "on the pad" : "in orbit");
      Flight f(releasing(manifest, onThePad));
      for (const auto &[vessel, messages] : releases) {
        f.press(OAPI_KEY_J);
        const sim::Vessel *stage = f.world.find(vessel);
        ASSERT_NE(stage, nullptr) << vessel;
        for (int axis = 0; axis < 3; ++axis)  // not turned
          expectNear(stage->rot.column(axis), f.v->frameStart.rot.column(axis), 1e-9);
        EXPECT_EQ(Messages().pending(stage->iface), messages) << vessel;
      }
      const size_t vessels = f.world.vessels().size();
      f.press(OAPI_KEY_J);
      EXPECT_EQ(f.world.vessels().size(), vessels);
    }
}

TEST(payload_release, a_refused_release_changes_nothing) {
  Flight f(releasing(
      {entry("PAYLOAD", "P1", "3"), entry("STAGE", "Lost", "5", "Nowhere"), entry("PAYLOAD", "P2", "6"), "ENDSTAGE"}));
  const std::vector<std::string> manifest = manifestOf(f.world, "L1");
  for (int i = 0; i < 2; ++i) f.press(OAPI_KEY_J);
  EXPECT_EQ(f.world.vessels().size(), 1u);
  EXPECT_EQ(manifestOf(f.world, "L1"), manifest);
  EXPECT_EQ(usedMeshes(*f.v), 1 + 3);
  EXPECT_TRUE(f.world.log().contains("vessel \"Lost\" of class \"Nowhere\" not created"));
}

// A dispenser on the upper stage, its two satellites beside the axis.
const std::vector<std::string> DISPENSER = {"STAGE D Varnell\\Dispenser Varnell\\Dispenser 0 0 2.5 450 0 1",
                                            "PAYLOAD S1 Varnell\\Sat Varnell\\Sat 1.2 0 3.1 600 0 1",
                                            "PAYLOAD S2 Varnell\\Sat Varnell\\Sat -1.2 0 3.84 600 0 0.5", "ENDSTAGE"};

// J before its first step: what arrives is placed before anything leaves,
// each payload from its place, measured from the dispenser as handed on.
TEST(dispenser, a_released_dispenser_takes_its_payloads_in_and_releases_them_one_by_one_on_J) {
  Flight f(releasing(DISPENSER));
  f.press(OAPI_KEY_J);
  sim::Vessel *d = f.world.find("D");
  ASSERT_NE(d, nullptr);
  // Its own clbkPostStep ran in the frame that made it, as the simulator
  // walks its live vessel list: it has taken in all it carries before its first frame.
  EXPECT_EQ(usedMeshes(*d), 3);
  EXPECT_EQ(f.world.cockpit().pressKey(d, OAPI_KEY_J, true, {OAPI_KEY_LSHIFT}), 0);
  const VECTOR3 places[] = {{-1.2, 0, 1.34}, {1.2, 0, 0.6}};  // [m]
  const char *const names[] = {"S2", "S1"};
  for (int i = 0; i < 2; ++i) {
    f.press(OAPI_KEY_J, d);
    ASSERT_NE(f.world.find(names[i]), nullptr) << names[i];
    expectNear(placeFrom(d->frameStart, *f.world.find(names[i])), places[i], 1e-6, names[i]);
    EXPECT_EQ(d->emptyMass, 1050 - 600 * i);  // 450 kg and what is still aboard
    EXPECT_EQ(usedMeshes(*d), 2 - i);
  }
}

// A stage saved before its first step has its manifest still waiting in the
// message module, which keeps nothing across a save and a load: the save
// takes it in, and weighs it at once. So for a dispenser and for a launcher
// released as a stage.
TEST(dispenser, a_stage_saved_before_its_first_step_keeps_and_weighs_the_manifest_handed_to_it) {
  // The stage's class, and its empty mass with the satellite aboard [kg].
  for (const auto &[cls, emptyMass] :
       {std::pair<const char *, double>{"Varnell\\Dispenser", 450 + 600}, {"Varnell", 15855 + 600}}) {
    SCOPED_TRACE(cls);
    const std::string carried = "PAYLOAD S1 Varnell\\Sat Varnell\\Sat 0.80 0.00 1.00 600.00 0.00 0.50";
    std::string scenario;
    {
      Flight f(releasing({std::string("STAGE D1 Varnell\\Dispenser ") + cls + " 0 0 25 450 0 1",
                          "PAYLOAD S1 Varnell\\Sat Varnell\\Sat 0.8 0 26 600 0 0.5", "ENDSTAGE"}));
      f.press(OAPI_KEY_J);
      scenario = savedScenario(f.world);
      EXPECT_EQ(f.world.find("D1")->emptyMass, emptyMass);
    }
    sim::World world(".", "");
    ASSERT_TRUE(loadSaved(world, scenario));
    sim::Vessel *d1 = world.find("D1");
    ASSERT_NE(d1, nullptr);
    EXPECT_EQ(manifestOf(world, "D1"), std::vector<std::string>{carried});
    EXPECT_EQ(d1->emptyMass, emptyMass);
  }
}

// It rests on its aft face, where it sat on its carrier: three points 1.2 m
// out from its axis, a third of a turn apart, 0.75 m behind its middle.
TEST(dispenser, its_touchdown_points_lie_round_its_axis_on_its_aft_face) {
  sim::World world(".", "");
  const sim::Vessel *d = world.createVessel("D", "Varnell\\Dispenser", nullptr);
  ASSERT_NE(d, nullptr);
  for (int i = 0; i < 3; ++i) {
    const VECTOR3 &p = d->touchdown[i], &next = d->touchdown[(i + 1) % 3];
    EXPECT_NEAR(p.z, -0.75, 1e-12);
    EXPECT_NEAR(std::hypot(p.x, p.y), 1.2, 0.01);
    EXPECT_NEAR(length(next - p), 1.2 * std::sqrt(3.0), 0.01);
  }
}

}  // namespace
