// The spent booster and the fairing halves as vessels of their own, and the
// launcher across staging.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/support/launcher.h"

namespace {

TEST(booster_separation, the_spent_booster_leaves_with_the_launchers_motion_and_burns_its_thrusters_out) {
  sim::World world(".", "");
  VARNELL *l = loadLauncher(world, inOrbit({}));
  ASSERT_NE(l, nullptr);
  sim::Vessel *launcher = world.find("L1");
  l->SeparateBooster();
  const sim::Vessel *b = world.find("L1-SEP");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->className, "Varnell\\Varnellstg0");
  expectNear(placeFrom(*launcher, *b), _V(0, 0, 0));  // the full stack's origin is the booster's
  expectNear(b->vel, launcher->vel);
  expectNear(b->omega, launcher->omega, 0);
  for (int axis = 0; axis < 3; ++axis) expectNear(b->rot.column(axis), launcher->rot.column(axis), 1e-12);

  ASSERT_EQ(b->tanks.size(), 1u);
  EXPECT_EQ(b->tanks[0].mass, 100);
  ASSERT_EQ(b->thrusters.size(), 2u);
  const VECTOR3 pos[] = {{-1.82, 0, -14.8}, {1.82, 0, -14.8}};
  for (int i = 0; i < 2; ++i) {
    const sim::Thruster &th = b->thrusters[i];
    expectNear(th.pos, pos[i], 0);
    EXPECT_EQ(std::make_tuple(th.tank, th.level, th.maxThrust0), std::make_tuple(b->tanks[0].id, 1.0, 20000.0));
  }
  // A small glowing stream, then a large lit one, each on the second thruster first.
  ASSERT_EQ(b->streams.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(b->streams[i].thruster, b->thrusters[1 - i % 2].id);
    EXPECT_EQ(b->streams[i].particles.ltype, i < 2 ? PARTICLESTREAMSPEC::EMISSIVE : PARTICLESTREAMSPEC::DIFFUSE);
  }

  // 100 kg at 2 x 20000 N / 4500 m/s last 11.25 s, the launcher gone or not.
  world.deleteVessel(launcher);
  while (world.simTime() < 11.2) world.step();
  EXPECT_GT(b->tanks[0].mass, 0);
  while (world.simTime() < 11.3) world.step();
  EXPECT_EQ(b->tanks[0].mass, 0);
}

TEST(booster_separation, staging_keeps_the_upper_stage_where_it_was_drawn_and_the_booster_where_it_was) {
  sim::World world(".", "");
  VARNELL *l = loadLauncher(world, inOrbit({"FAIRING 1"}));
  ASSERT_NE(l, nullptr);
  const sim::Vessel &v = *world.find("L1");
  const VECTOR3 upperStage = v.pos + v.rot * l->ofsStg1B, fairing = v.pos + v.rot * l->ofsPlf1, booster = v.pos;
  stage(*l);
  ASSERT_NE(world.find("L1-SEP"), nullptr);
  expectNear(world.find("L1-SEP")->pos, booster);
  for (int rebuild = 0; rebuild < 3; ++rebuild, l->Reconfigure()) {
    expectNear(v.pos, upperStage, 1e-6, "rebuild " + std::to_string(rebuild));
    expectNear(v.pos + v.rot * l->ofsPlf1, fairing, 1e-6, "rebuild " + std::to_string(rebuild));
  }
}

// No call on a vessel that is not there, no write past the name's buffer.
TEST(booster_separation, a_refused_booster_is_left_alone_and_a_long_name_is_cut_to_fit) {
  {
    sim::World world(".", "");
    const std::string longName(300, 'L');
    VARNELL *l = launcherOf(world.createVessel(longName, "Varnell", nullptr));
    ASSERT_NE(l, nullptr);
    l->SeparateBooster();
    EXPECT_NE(world.find(longName.substr(0, 255)), nullptr);
  }
  ScratchTree scratch;  // without the spent booster's class
  scratch.copyFromBuiltTree(moduleLibrary("Varnell"));
  scratch.write("Config/Vessels/Varnell.cfg", "Module = Varnell\n");
  scratch.enter();
  sim::World world(".", "");
  VARNELL *l = launcherOf(world.createVessel("L1", "Varnell", nullptr));
  ASSERT_NE(l, nullptr);
  const int refusedBefore = world.log().refusedCount();  // this tree has no meshes either
  l->SeparateBooster();
  EXPECT_EQ(world.vessels().size(), 1u);
  EXPECT_EQ(world.log().refusedCount(), refusedBefore);
}

TEST(fairing_jettison, the_halves_leave_sideways_from_where_they_were_drawn_spinning_apart_whatever_the_attitude) {
  struct Half {
    const char *name, *className;
    VECTOR3 offset, push, spin;  // launcher frame [m], [m/s], [rad/s]
  };
  const Half halves[] = {{"Varnellplf2", "Varnell\\Varnellplf2", {0.906, 0, 10.568}, {4, 0, 0}, {0, -0.5, 0}},
                         {"Varnellplf1", "Varnell\\Varnellplf1", {-0.935, 0, 10.568}, {-4, 0, 0}, {0, 0.5, 0}}};
  for (const char *attitude : {"AROT 0 0 0", "AROT 30 -50 120", "AROT -170 80 45"}) {
    SCOPED_TRACE(attitude);
    sim::World world(".", "");
    VARNELL *l = loadLauncher(
        world,
        inOrbit({"CONFIGURATION 1", "FAIRING 1", "PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0 0 3 600 0 1"}, attitude));
    ASSERT_NE(l, nullptr);
    const sim::Vessel &v = *world.find("L1");
    l->SetThrusterGroupLevel(THGROUP_MAIN, 1);  // burning: the halves must not take the setting
    const size_t before = world.vessels().size();
    l->JettisonFairing();
    EXPECT_FALSE(l->fairingAttached);
    EXPECT_EQ(usedMeshes(v), 2);
    ASSERT_EQ(world.vessels().size(), before + 2);
    for (int i = 0; i < 2; ++i) {
      const sim::Vessel &h = *world.vessels()[before + i];
      EXPECT_EQ(h.name + " " + h.className, std::string(halves[i].name) + " " + halves[i].className);
      expectNear(placeFrom(v, h), halves[i].offset, 1e-6, h.name);
      expectNear(velocityFrom(v, h), halves[i].push, 1e-6, h.name);
      expectNear(h.omega, halves[i].spin, 0, h.name);
      EXPECT_EQ(h.givenStatus.eng_main + h.givenStatus.eng_hovr, 0);
    }
    // Rebuilt without the fairing, the payload's mesh takes a fairing half's index.
    l->Reconfigure();
    l->JettisonFairing();
    EXPECT_EQ(usedMeshes(v), 2);
    EXPECT_EQ(world.vessels().size(), before + 2);
  }
}

}  // namespace
