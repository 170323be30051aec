// Creating vessels as the simulator does: class file, module, class caps,
// generic keys; and vessels of one name, and vessels the world deletes.
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
