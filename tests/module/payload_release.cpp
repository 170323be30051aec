// Payloads released from the upper stage as vessels of their own, a stage's
// entries handed on to it as manifest messages, and a released dispenser that
// takes them in and releases them in turn.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

const double STACK_ORIGIN_Z = -20.169;  // of the payloads on the upper stage [m]

VARNELL *upperStage(sim::World &world, std::vector<std::string> manifest) {
  manifest.insert(manifest.begin(), "CONFIGURATION 1");
  return loadLauncher(world, inOrbit(manifest));
}

std::string entry(const char *kind, const char *name, const char *z) {
  return std::string(kind) + " " + name + " Varnell\\Sat Varnell\\Sat 0 0 " + z + " 100 0 1";
}
// The message handing on an entry z metres ahead of the released stage.
std::string sent(const char *kind, const char *name, const char *z) {
  return std::string(kind) + "|" + kind + " " + name + " Varnell\\Sat Varnell\\Sat 0.00 0.00 " + z +
         " 100.00 0.00 1.00";
}
const char *const CLOSED = "ENDSTAGE|ENDSTAGE";

TEST(payload_release, a_top_level_payload_leaves_from_its_place_pushed_off_fuelled_and_turned) {
  struct Turn {
    const char *angle;  // [deg]
    VECTOR3 y, z;       // the payload's axes in the launcher's frame
  };
  for (const Turn &t : {Turn{"0", {0, 1, 0}, {0, 0, 1}}, Turn{"90", {0, 0, 1}, {0, -1, 0}}}) {
    SCOPED_TRACE(t.angle);
    sim::World world(".", "");
    VARNELL *l =
        upperStage(world, {std::string("PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 1.2 0 3.1 600 ") + t.angle + " 0.5"});
    ASSERT_NE(l, nullptr);
    const sim::Vessel &v = *world.find("L1");
    l->SetThrusterGroupLevel(THGROUP_MAIN, 1);
    VESSEL *released = l->ReleaseNextStage();
    const sim::Vessel *sat = world.find("Sat1");
    ASSERT_TRUE(released && sat);
    EXPECT_EQ(sat->iface, released);
    expectNear(placeFrom(v, *sat), _V(1.2, 0, 3.1 + STACK_ORIGIN_Z));
    expectNear(velocityFrom(v, *sat), _V(2, 0, 0));  // beside the axis: straight out from it
    expectNear(sat->omega, v.omega, 0);
    expectNear(v.rot.tmul(sat->rot.column(0)), _V(1, 0, 0), 1e-9);
    expectNear(v.rot.tmul(sat->rot.column(1)), t.y, 1e-9);
    expectNear(v.rot.tmul(sat->rot.column(2)), t.z, 1e-9);
    EXPECT_EQ(sat->givenStatus.eng_main, 0);
    EXPECT_EQ(sat->tanks.at(0).mass, 50);  // half of its class's 100 kg
    EXPECT_TRUE(pendingMessages(released).empty());
    EXPECT_EQ(l->ReleaseNextStage(), nullptr);
  }
}

// Every stage that ends gets its own closing, so the receiver nests all as it was.
TEST(payload_release, a_stage_leaves_with_its_entries_sent_after_it_measured_from_the_stage) {
  struct Release {
    const char *vessel;
    std::vector<std::string> messages;
  };
  struct Case {
    std::vector<std::string> manifest;
    std::vector<Release> releases;
  };
  const Case cases[] = {
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
  for (const Case &c : cases) {
    sim::World world(".", "");
    VARNELL *l = upperStage(world, c.manifest);
    ASSERT_NE(l, nullptr);
    for (const Release &r : c.releases) {
      VESSEL *released = l->ReleaseNextStage();
      ASSERT_NE(released, nullptr) << r.vessel;
      const sim::Vessel &stage = *world.fromHandle(released->GetHandle());
      EXPECT_EQ(stage.name, r.vessel);
      for (int axis = 0; axis < 3; ++axis)  // not turned
        expectNear(stage.rot.column(axis), world.find("L1")->rot.column(axis), 1e-9);
      EXPECT_EQ(pendingMessages(released), r.messages) << r.vessel;
    }
    EXPECT_EQ(l->ReleaseNextStage(), nullptr);
  }
}

TEST(payload_release, a_refused_release_changes_nothing_and_the_armed_velocity_serves_one_release) {
  sim::World world(".", "");
  VARNELL *l = upperStage(world, {entry("PAYLOAD", "P1", "3"), "STAGE Lost Varnell\\Sat Varnell\\Nowhere 0 0 5 100 0 1",
                                  entry("PAYLOAD", "P2", "6"), "ENDSTAGE"});
  ASSERT_NE(l, nullptr);
  l->SetReleaseVelocity(_V(0, 0, 3));
  EXPECT_EQ(l->ReleaseNextStage(), nullptr);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(l->entries[i].used) << i;
  EXPECT_TRUE(l->releaseVelOverrideSet);

  std::strcpy(l->entries[1].className, "Varnell\\Sat");
  VESSEL *released = l->ReleaseNextStage();
  ASSERT_NE(released, nullptr);
  EXPECT_EQ(pendingMessages(released), (std::vector<std::string>{sent("PAYLOAD", "P2", "1.00"), CLOSED}));
  ASSERT_NE(l->ReleaseNextStage(), nullptr);
  const sim::Vessel &v = *world.find("L1");
  expectNear(velocityFrom(v, *world.find("Lost")), _V(0, 0, 3));
  expectNear(velocityFrom(v, *world.find("P1")), _V(0, 0, 0.5));
}

// Its taking in the manifest at its next step is shown with a deeper one in launcher_saving.
TEST(payload_release, a_released_dispenser_releases_its_payloads_one_by_one_on_j) {
  sim::World world(".", "");
  VARNELL *l = upperStage(world, {"STAGE D Varnell\\Dispenser Varnell\\Dispenser 0 0 2.5 450 0 1",
                                  "PAYLOAD S1 Varnell\\Sat Varnell\\Sat 1.2 0 3.1 600 0 1",
                                  "PAYLOAD S2 Varnell\\Sat Varnell\\Sat -1.2 0 3.1 600 0 1", "ENDSTAGE"});
  ASSERT_NE(l, nullptr);
  ASSERT_NE(l->ReleaseNextStage(), nullptr);
  sim::Vessel *d = world.find("D");
  ASSERT_NE(d, nullptr);
  world.step();
  EXPECT_EQ(d->emptyMass + usedMeshes(*d), 1650 + 3);  // 450 kg and its mesh, with two payloads
  EXPECT_EQ(world.pressKey(d, OAPI_KEY_J, true, {OAPI_KEY_LSHIFT}), 0);
  world.step();
  EXPECT_EQ(world.vessels().size(), 2u);

  const VECTOR3 places[] = {{-1.2, 0, 0.6}, {1.2, 0, 0.6}};  // from the dispenser, as handed on [m]
  const char *const names[] = {"S2", "S1"};
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(world.pressKey(d, OAPI_KEY_J), 1);
    world.step();
    ASSERT_NE(world.find(names[i]), nullptr) << names[i];
    expectNear(placeFrom(*d, *world.find(names[i])), places[i], 1e-6, names[i]);
  }
  EXPECT_EQ(d->emptyMass + usedMeshes(*d), 450 + 1);
}

}  // namespace
