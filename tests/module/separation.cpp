// What leaves the launcher at staging and at the fairing's jettison, as
// vessels of their own: the spent booster, which burns its separation
// thrusters out, and the two fairing halves.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

TEST(booster_separation, the_spent_booster_leaves_from_the_booster_with_the_stacks_motion_and_burns_its_thrusters_out) {
  Flight f(inOrbit({}));
  const double mass = f.v->mass();  // [kg]
  f.press(OAPI_KEY_J);
  const sim::Vessel *b = f.world.find("L1-SEP");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->className, "Varnell\\Varnellstg0");
  // The booster starts where the stack's origin was as the module read it,
  // at the frame's start; the stack's origin moved up to the upper stage's
  // from where the frame took it (its coast over the frame aside, gravity's
  // 2 mm among it).
  expectNear(placeFrom(f.v->frameStart, *b), _V(0, 0, 0), 1e-9);
  const VECTOR3 coast = f.v->frameStart.vel * f.world.dt;
  expectNear(f.v->rot.tmul(f.v->pos - b->pos - coast), _V(0, 0, 20.169), 0.005);
  expectNear(b->vel, f.v->frameStart.vel);
  expectNear(b->omega, f.v->frameStart.omega, 0);
  for (int axis = 0; axis < 3; ++axis) expectNear(b->rot.column(axis), f.v->frameStart.rot.column(axis), 1e-12);

  // Staged full, it takes its propellant along: 100 kg for its motors, the rest in a tank of its own.
  ASSERT_EQ(b->tanks.size(), 2u);
  EXPECT_EQ(b->tanks[0].maxMass, 100);
  EXPECT_NEAR(f.v->mass() + b->mass(), mass, 1e-3);
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

// No write past the name's buffer.
TEST(booster_separation, a_long_name_is_cut_to_fit) {
  const std::string longName(300, 'L');
  Flight f(inOrbit({}), 0.02, longName);
  f.press(OAPI_KEY_J);
  EXPECT_NE(f.world.find(longName.substr(0, 255)), nullptr);
}

// No call on a vessel that is not there.
TEST(booster_separation, a_refused_booster_is_left_alone) {
  ScratchTree scratch;  // without the spent booster's class
  scratch.copyFromBuiltTree(moduleLibrary("Varnell"));
  for (const char *mesh : {"Varnellstg0", "Varnellstg1B", "Varnellplf1", "Varnellplf2"})
    scratch.copyFromBuiltTree(std::string("Meshes/Varnell/") + mesh + ".msh");
  scratch.write("Config/Vessels/Varnell.cfg", "Module = Varnell\n");
  scratch.enter();
  sim::World world(".", "");
  sim::Vessel *v = world.createVessel("L1", "Varnell", nullptr);
  ASSERT_NE(v, nullptr);
  world.cockpit().pressKey(v, OAPI_KEY_J);
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
    Flight f(
        inOrbit({"CONFIGURATION 1", "FAIRING 1", "PAYLOAD Sat1 Varnell\\Sat Varnell\\Sat 0 0 3 600 0 1"}, attitude),
        0.5);
    const size_t before = f.world.vessels().size();
    while (f.world.simTime() < 32.5) f.world.step();
    EXPECT_EQ(f.world.vessels().size(), before);
    const double emptyMass = f.v->emptyMass;  // [kg]
    f.world.step();
    EXPECT_EQ(f.v->groupLevel(THGROUP_MAIN), 1);  // burning: the halves must not take the setting
    EXPECT_FALSE(fairingOn(f.world, *f.v));
    EXPECT_EQ(usedMeshes(*f.v), 2);
    ASSERT_EQ(f.world.vessels().size(), before + 2);
    // What the stage weighed of its fairing, the halves weigh now.
    EXPECT_EQ(f.v->emptyMass + f.world.vessels()[before]->mass() + f.world.vessels()[before + 1]->mass(), emptyMass);
    for (int i = 0; i < 2; ++i) {
      const sim::Vessel &h = *f.world.vessels()[before + i];
      EXPECT_EQ(h.name + " " + h.className, std::string(halves[i].name) + " " + halves[i].className);
      expectNear(placeFrom(f.v->frameStart, h), halves[i].offset, 1e-6, h.name);
      expectNear(velocityFrom(f.v->frameStart, h), halves[i].push, 1e-6, h.name);
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
