// The spent booster and the fairing halves as vessels of their own, and the
// launcher across staging.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

TEST(booster_separation, the_spent_booster_leaves_from_the_booster_with_the_stacks_motion_and_burns_its_thrusters_out) {
  Flight f(inOrbit({}));
  f.press(OAPI_KEY_J);
  const sim::Vessel *b = f.world.find("L1-SEP");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->className, "Varnell\\Varnellstg0");
  // The vessel's origin moved up to the upper stage's; the booster stayed.
  expectNear(placeFrom(*f.v, *b), _V(0, 0, -20.169), 1e-6);
  expectNear(b->vel, f.v->vel);
  expectNear(b->omega, f.v->omega, 0);
  for (int axis = 0; axis < 3; ++axis) expectNear(b->rot.column(axis), f.v->rot.column(axis), 1e-12);

  ASSERT_EQ(b->tanks.size(), 1u);
  EXPECT_EQ(b->tanks[0].maxMass, 100);
  // Backward and inward; the first also slightly down. The host keeps directions normalised.
  const VECTOR3 pos[] = {{-1.82, 0, -14.8}, {1.82, 0, -14.8}}, dir[] = {{1, -0.02, -1}, {-1, 0, -1}};
  ASSERT_EQ(b->thrusters.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    const sim::Thruster &th = b->thrusters[i];
    expectNear(th.pos, pos[i], 0, "position");
    expectNear(th.dir, unit(dir[i]), 1e-12, "direction");
    EXPECT_EQ(std::vector<double>({th.maxThrust0, th.isp0, th.ispRef, th.pRef, th.level}),
              std::vector<double>({20000, 4500, 4500, 100000, 1}));
  }
  // A glowing stream, then a lit one, each on the second thruster first.
  ASSERT_EQ(b->streams.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(b->streams[i].thruster, b->thrusters[1 - i % 2].id);
    EXPECT_EQ(b->streams[i].particles.ltype, i < 2 ? PARTICLESTREAMSPEC::EMISSIVE : PARTICLESTREAMSPEC::DIFFUSE);
  }

  // 100 kg at 2 x 20000 N / 4500 m/s, from its own tank, last 11.25 s, the launcher gone or not.
  const double separation = f.world.simTime();
  f.world.deleteVessel(f.v);
  while (f.world.simTime() < separation + 11.2) f.world.step();
  EXPECT_GT(b->tanks[0].mass, 0);
  while (f.world.simTime() < separation + 11.3) f.world.step();
  EXPECT_EQ(b->tanks[0].mass, 0);
}

// The move of the origin at staging is made once: a rebuild of the upper
// stage (here for a message) must not move the vessel again.
TEST(booster_separation, a_rebuild_after_staging_leaves_the_upper_stage_where_it_is) {
  Flight f(inOrbit({"FAIRING 1"}));
  f.press(OAPI_KEY_J);
  VECTOR3 before = f.v->pos;
  f.world.step();
  const VECTOR3 plain = f.v->pos - before;  // a step's way without a rebuild [m]
  before = f.v->pos;
  Messages().send(f.v->iface, "NOTES", "rebuild");
  f.world.step();
  expectNear(f.v->pos - before, plain, 0.01, "a step with a rebuild");
}

// No call on a vessel that is not there, no write past the name's buffer.
TEST(booster_separation, a_refused_booster_is_left_alone_and_a_long_name_is_cut_to_fit) {
  {
    const std::string longName(300, 'L');
    Flight f(inOrbit({}), 0.02, longName);
    f.press(OAPI_KEY_J);
    EXPECT_NE(f.world.find(longName.substr(0, 255)), nullptr);
  }
  ScratchTree scratch;  // without the spent booster's class
  scratch.copyFromBuiltTree(moduleLibrary("Varnell"));
  for (const char *mesh : {"Varnellstg0", "Varnellstg1B", "Varnellplf1", "Varnellplf2"})
    scratch.copyFromBuiltTree(std::string("Meshes/Varnell/") + mesh + ".msh");
  scratch.write("Config/Vessels/Varnell.cfg", "Module = Varnell\n");
  scratch.enter();
  sim::World world(".", "");
  sim::Vessel *v = world.createVessel("L1", "Varnell", nullptr);
  ASSERT_NE(v, nullptr);
  world.pressKey(v, OAPI_KEY_J);
  world.step();
  EXPECT_EQ(configurationOf(*v), 1);
  EXPECT_EQ(world.vessels().size(), 1u);
  EXPECT_EQ(world.log().refusedCount(), 0);
}

// 32.5 s after staging, or after a load as the upper stage with the fairing on.
TEST(fairing_jettison, the_halves_leave_sideways_from_where_they_were_drawn_spinning_apart_whatever_the_attitude) {
  struct Half {
    const char *name, *className;
    VECTOR3 offset, push, spin;  // launcher frame [m], [m/s], [rad/s]
  };
  const Half halves[] = {{"Varnellplf2", "Varnell\\Varnellplf2", {0.906, 0, 10.568}, {4, 0, 0}, {0, -0.5, 0}},
                         {"Varnellplf1", "Varnell\\Varnellplf1", {-0.935, 0, 10.568}, {-4, 0, 0}, {0, 0.5, 0}}};
  for (const char *attitude : {"AROT 0 0 0", "AROT 30 -50 120", "AROT -170 80 45"}) {
    SCOPED_TRACE(attitude);
    Flight f(inOrbit({"CONFIGURATION 1", "FAIRING 1", "PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0 0 3 600 0 1"}, attitude),
             0.5);
    const size_t before = f.world.vessels().size();
    while (f.world.simTime() < 32.5) f.world.step();
    EXPECT_EQ(f.world.vessels().size(), before);
    f.world.step();
    EXPECT_EQ(f.v->groupLevel(THGROUP_MAIN), 1);  // burning: the halves must not take the setting
    EXPECT_FALSE(fairingOn(f.world, *f.v));
    EXPECT_EQ(usedMeshes(*f.v), 2);
    ASSERT_EQ(f.world.vessels().size(), before + 2);
    for (int i = 0; i < 2; ++i) {
      const sim::Vessel &h = *f.world.vessels()[before + i];
      EXPECT_EQ(h.name + " " + h.className, std::string(halves[i].name) + " " + halves[i].className);
      expectNear(placeFrom(*f.v, h), halves[i].offset, 1e-6, h.name);
      expectNear(velocityFrom(*f.v, h), halves[i].push, 1e-6, h.name);
      expectNear(h.omega, halves[i].spin, 0, h.name);
      EXPECT_EQ(h.givenStatus.eng_main + h.givenStatus.eng_hovr, 0);
    }
    // Rebuilt without the fairing, the payload's mesh takes a fairing half's
    // index, which must not be taken for a fairing half again.
    Messages().send(f.v->iface, "NOTES", "rebuild");
    for (int i = 0; i < 4; ++i) f.world.step();
    EXPECT_EQ(usedMeshes(*f.v), 2);
    EXPECT_EQ(f.world.vessels().size(), before + 2);
  }
}

}  // namespace
