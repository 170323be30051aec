// Creating vessels as the simulator does: class file, module, class caps,
// generic keys, state; and vessels that modules create and the world deletes.
#include <gtest/gtest.h>

#include "sim/formats/mesh.h"
#include "sim/world/world.h"
#include "tests/support/tree.h"

TEST(vessel_creation, class_keys_are_applied_after_the_module_sets_its_class_caps) {
  ScratchTree root;
  root.write("Config/Vessels/Probe.cfg", "Module = Fixture\nmass = 222 ; overrides the module\nMaxFuel = 80\n");
  root.withFixtureModule();
  sim::World w(root.dir(), "");
  sim::Vessel *v = w.createVessel("P", "Probe", nullptr);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->emptyMass, 222);    // the class file's, set after the module's 111
  EXPECT_EQ(v->size, 7);           // the module's: the class file has no Size
  ASSERT_EQ(v->tanks.size(), 1u);  // MaxFuel adds no tank to a class that made its own
  EXPECT_EQ(v->tanks[0].maxMass, 50);
  EXPECT_EQ(v->thrusters.size(), 2u);
  EXPECT_TRUE(w.log().contains("module loaded: Fixture"));
}

TEST(vessel_creation, a_class_without_module_gets_a_host_vessel_with_every_generic_key) {
  ScratchTree root;
  root.write("Config/Vessels/Sub/Sat.cfg",
             "MeshName = Sub\\Box\nMass=600\nSize = 2\nMaxFuel = 100\nIsp = 2900\nInertia = 1 2 3\n"
             "CrossSections = 4 5 6\nCW = 0.1 0.2 0.3 0.4\nTouchdownPoints = 0 -1 1  -1 -1 -1  1 -1 -1\n");
  root.write("Meshes/Sub/Box.msh", kTriangleMesh);
  sim::World w(root.dir(), "");
  sim::Vessel *v = w.createVessel("S", "Sub\\Sat", nullptr);
  ASSERT_NE(v, nullptr);
  EXPECT_NE(sim::callbacksOf(v->iface), nullptr);
  // The MaxFuel tank starts full.
  EXPECT_EQ(
      std::vector<double>({v->mass(), v->classIsp, v->size, v->pmi.z, v->crossSections.y, v->cwY, v->touchdown[2].x}),
      std::vector<double>({700, 2900, 2, 3, 5, 0.4, 1}));
  ASSERT_EQ(v->meshes.size(), 1u);
  EXPECT_EQ(w.resources().mesh(v->meshes[0].mesh)->triangleCount(), 1);
  EXPECT_EQ(w.log().errorCount(), 0);
}

TEST(vessel_creation, a_class_that_cannot_be_loaded_gives_null_and_a_logged_reason) {
  ScratchTree root;
  root.write("Config/Vessels/NoModule.cfg", "Module = Missing\n");
  root.enter();
  sim::World w(root.dir(), "");
  VESSELSTATUS vs{};
  vs.rpos = _V(7e6, 0, 0);
  EXPECT_EQ(oapiCreateVessel("X", "Nowhere\\Ghost", vs), nullptr);
  EXPECT_EQ(w.createVessel("Y", "NoModule", nullptr), nullptr);
  EXPECT_TRUE(w.log().contains("Config/Vessels/Nowhere/Ghost.cfg"));
  EXPECT_TRUE(w.log().contains("cannot load module Modules\\Missing"));
  EXPECT_TRUE(w.vessels().empty());
}

TEST(vessel_creation, a_vessel_made_in_a_callback_names_its_creator_and_starts_at_the_status_given) {
  ScratchTree root;
  root.write("Config/Vessels/Probe.cfg", "Module = Fixture\n");
  root.write("Config/Vessels/Plain.cfg", "Mass = 10\n");
  root.withFixtureModule();
  sim::World w(root.dir(), "");
  VESSELSTATUS vs{};
  vs.rpos = _V(0, 0, 7e6);
  vs.rvel = _V(7500, 0, 0);
  vs.arot = _V(0.3, 0.2, 0.1);
  sim::Vessel *p = w.createVessel("P", "Probe", &vs);
  EXPECT_EQ(w.cockpit().pressKey(p, OAPI_KEY_J, true, {OAPI_KEY_LSHIFT}), 1);
  sim::Vessel *child = w.find("P-child");
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child->createdBy, "P");
  EXPECT_EQ(child->pos.z, 7e6);
  EXPECT_EQ(child->vel.x, 7510);  // the shift key was held
  EXPECT_NEAR(child->rot.m[1][2], p->rot.m[1][2], 1e-15);
  EXPECT_EQ(w.callingVessel, nullptr);
  EXPECT_EQ(w.cockpit().keyState()[OAPI_KEY_LSHIFT], 0);
  EXPECT_EQ(w.record().events().back().kind, sim::EventKind::vesselCreated);
  EXPECT_EQ(w.record().events().back().detail, "Plain by P");
}

TEST(world_vessels, names_may_repeat_and_a_deleted_vessel_is_gone_for_good) {
  ScratchTree root;
  root.write("Config/Vessels/Plain.cfg", "Mass = 10\n");
  sim::World w(root.dir(), "");
  sim::Vessel *first = w.createVessel("Twin", "Plain", nullptr);
  sim::Vessel *second = w.createVessel("Twin", "Plain", nullptr);
  EXPECT_EQ(oapiGetVesselByName(const_cast<char *>("Twin")), first);
  w.deleteVessel(first);
  EXPECT_EQ(w.find("Twin"), second);
  sim::Vessel *third = w.createVessel("Third", "Plain", nullptr);
  EXPECT_NE(third, first);  // a deleted vessel's handle never names a new one
  EXPECT_EQ(w.fromHandle(first), nullptr);
  EXPECT_EQ(w.vessels(), (std::vector<sim::Vessel *>{second, third}));
  w.deleteVessel(first);
  EXPECT_EQ(w.log().refusedCount(), 1);
}
