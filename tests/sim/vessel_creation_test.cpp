// Creating vessels as the simulator does: class file, module, class caps,
// generic keys; and vessels of one name, and vessels the world deletes.
#include <gtest/gtest.h>

#include "sim/api/handles.h"
#include "sim/formats/mesh.h"
#include "sim/physics/planet/attitude.h"
#include "sim/world/world.h"
#include "tests/support/tree.h"

const char kSquareMesh[] = "MSHX1\nGROUPS 1\nGEOM 4 2\n0 0 0\n1 0 0\n0 1 0\n1 1 0\n0 1 2\n1 3 2\n";  // two triangles

TEST(vessel_creation, class_keys_are_applied_after_the_module_sets_its_class_caps) {
  ScratchTree root;
  root.write("Config/Vessels/Probe.cfg", "Module = Fixture\nmass = 222 ; overrides the module\nMaxFuel = 80\n");
  root.withFixtureModule();
  sim::World w(root.dir(), "");
  sim::Vessel *v = w.createVessel("P", "Probe", nullptr);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->emptyMass, 222);    // the class file's, set after the module's 111
  EXPECT_EQ(v->size, 7);           // the module's: the class file has no Size
  EXPECT_EQ(v->pmi.z, 7);          // with no inertia given anywhere, from the size the vessel ends up with
  ASSERT_EQ(v->tanks.size(), 1u);  // MaxFuel adds no tank to a class that made its own
  EXPECT_EQ(v->tanks[0].maxMass, 50);
  EXPECT_EQ(v->thrusters.size(), 2u);
  EXPECT_TRUE(w.log().contains("module loaded: Fixture"));
}

TEST(vessel_creation, a_class_without_module_gets_a_host_vessel_with_every_generic_key) {
  ScratchTree root;
  root.write("Config/Vessels/Sub/Sat.cfg",
             "MeshName = Sub\\Box\nMass=600\nSize = 2\nMaxFuel = 100\nIsp = 2900\nInertia = 1 2 3\n"
             "CrossSections = 4 5 6\nCW = 0.1 0.2 0.3 0.4\nTouchdownPoints = 0 -1 1  -1 -1 -1  1 -1 -1\n"
             "RotResistance = 7 8 9\n");
  root.write("Meshes/Sub/Box.msh", kTriangleMesh);
  sim::World w(root.dir(), "");
  sim::Vessel *v = w.createVessel("S", "Sub\\Sat", nullptr);
  ASSERT_NE(v, nullptr);
  EXPECT_NE(sim::callbacksOf(v->iface), nullptr);
  // The MaxFuel tank starts full; a thruster created without an Isp takes the class's.
  const THRUSTER_HANDLE th = v->iface->CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 1, nullptr, 0);
  EXPECT_EQ(std::vector<double>({v->mass(), v->thruster(sim::idOf(th))->isp0, v->size, v->pmi.z, v->crossSections.y,
                                 v->cwY, v->touchdown[2].x, v->rotDrag.y}),
            std::vector<double>({700, 2900, 2, 3, 5, 0.4, 1, 8}));
  ASSERT_EQ(v->meshes.size(), 1u);
  EXPECT_EQ(w.resources().mesh(v->meshes[0].mesh)->triangleCount(), 1);
  EXPECT_EQ(w.log().errorCount(), 0);
}

// A world reads a class file and a mesh once for all vessels of the class, yet
// each vessel gets what a read of its own gives: the file's faults logged again,
// and a mesh record of its own; a mesh of the same file name elsewhere is another.
TEST(vessel_creation, vessels_of_one_class_each_get_the_class_file_and_a_mesh_as_read_for_them) {
  ScratchTree root;
  root.write("Config/Vessels/A.cfg", "MeshName = Sub\\Box\nMass = 30\nno key here\n");
  root.write("Config/Vessels/B.cfg", "MeshName = Other/Box\n");
  root.write("Meshes/Sub/Box.msh", kTriangleMesh);
  root.write("Meshes/Other/Box.msh", kSquareMesh);
  sim::World w(root.dir(), "");
  const sim::Vessel *a1 = w.createVessel("A1", "A", nullptr), *a2 = w.createVessel("A2", "A", nullptr);
  const sim::Vessel *b = w.createVessel("B", "B", nullptr);
  ASSERT_TRUE(a1 && a2 && b);
  const std::string skipped = root.path("Config/Vessels/A.cfg") + ":3: expected \"Key = value\", skipped";
  EXPECT_EQ(w.log().errors(), std::vector<std::string>(2, skipped));
  EXPECT_EQ(a2->emptyMass, 30);
  const sim::Mesh *m[] = {w.resources().mesh(a1->meshes[0].mesh), w.resources().mesh(a2->meshes[0].mesh),
                          w.resources().mesh(b->meshes[0].mesh)};
  ASSERT_TRUE(m[0] && m[1] && m[2]);
  EXPECT_NE(m[0], m[1]);
  EXPECT_EQ(std::vector<int>({m[0]->triangleCount(), m[1]->triangleCount(), m[2]->triangleCount()}),
            std::vector<int>({1, 1, 2}));
}

// What one world read is not another's: a class file and a mesh changed on
// disk after one world read them are what the next world's vessels are made from.
TEST(vessel_creation, a_new_world_reads_the_class_file_and_mesh_as_they_are_now) {
  ScratchTree root;
  root.withProbe();
  std::vector<double> found;
  for (int i = 0; i < 2; ++i) {
    sim::World w(root.dir(), "");
    const sim::Vessel *v = w.createVessel("P", "Probe", nullptr);
    ASSERT_TRUE(v && !v->meshes.empty());
    found.insert(found.end(), {v->emptyMass, double(w.resources().mesh(v->meshes[0].mesh)->triangleCount())});
    root.write("Config/Vessels/Probe.cfg", "MeshName = Probe\nMass = 2000\n");
    root.write("Meshes/Probe.msh", kSquareMesh);
  }
  EXPECT_EQ(found, std::vector<double>({1000, 1, 2000, 2}));
}

// Whatever neither the module nor the class file sets is the simulator's
// default (Vessel::DefaultGenericCaps, its touchdown points on springs of 1e6 N/m
// damped by 1e5 N s/m), the inertia (2 size, 2 size, size) as Vessel::Setup
// makes it, and the Isp of a thruster created without one 5e4 m/s.
TEST(vessel_creation, what_a_class_leaves_unset_takes_the_simulators_defaults) {
  ScratchWorld w("; nothing set\n");
  sim::Vessel *v = w->createVessel("B", "Probe", nullptr);
  ASSERT_NE(v, nullptr);
  const THRUSTER_HANDLE th = v->iface->CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 1, nullptr, 0);
  EXPECT_EQ(
      std::vector<double>({v->size, v->mass(), v->cwZPos, v->cwZNeg, v->cwX, v->cwY, v->crossSections.x, v->rotDrag.z,
                           v->pmi.y, v->pmi.z, v->touchdown[0].x, v->touchdown[0].y, v->touchdown[1].x,
                           v->touchdown[1].y, v->tdStiffness, v->tdDamping, v->thruster(sim::idOf(th))->isp0}),
      std::vector<double>({10, 1000, 0.1, 0.3, 0.3, 0.3, 20, 0.01, 20, 10, 0, -2, -3, -2, 1e6, 1e5, 5e4}));
}

// As the simulator's Vessel::SetState: the fuel level (of the default tank,
// below 0 too) only with bit 2 of flag[0], the engine levels only with bit 1,
// a negative eng_main for the retro group. Its Vessel::GetState clears the flags, sets
// port -1 and gives the retro level, negated, when the main group is off.
TEST(vessel_creation, a_status_gives_fuel_and_engine_levels_only_as_its_flags_say) {
  ScratchTree root;
  root.write("Config/Vessels/Probe.cfg", "Module = Fixture\n");  // 50 kg tank, main engines at 1 and 0
  root.withFixtureModule();
  sim::World w(root.dir(), "");
  VESSELSTATUS s{};
  s.rpos = _V(7e6, 0, 0);
  s.fuel = -0.25;
  s.eng_main = 0.5;
  sim::Vessel *plain = w.createVessel("P", "Probe", &s);
  s.flag[0] = 3;
  sim::Vessel *flagged = w.createVessel("F", "Probe", &s);
  ASSERT_TRUE(plain && flagged);
  EXPECT_EQ(std::vector<double>({plain->tanks[0].mass, plain->thrusters[0].level, plain->thrusters[1].level,
                                 flagged->tanks[0].mass, flagged->thrusters[0].level, flagged->thrusters[1].level}),
            std::vector<double>({50, 1, 0, -12.5, 0.5, 0.5}));
  THRUSTER_HANDLE retro =
      flagged->iface->CreateThruster(_V(0, 0, 0), _V(0, 0, -1), 1, flagged->iface->CreatePropellantResource(1), 3000);
  flagged->iface->CreateThrusterGroup(&retro, 1, THGROUP_RETRO);
  flagged->iface->SetThrusterGroupLevel(THGROUP_MAIN, 0);
  flagged->iface->SetThrusterLevel(retro, 0.4);
  VESSELSTATUS back;
  flagged->iface->GetStatus(back);
  back.flag[0] |= 1;
  sim::Vessel *fromBack = w.createVessel("B", "Probe", &back);
  ASSERT_NE(fromBack, nullptr);
  EXPECT_EQ(std::vector<double>({back.eng_main, static_cast<double>(back.port), fromBack->thrusters[0].level}),
            std::vector<double>({-0.4, -1, 0}));
}

// As the simulator's Vessel::GetState for a landed vessel: its altitude in
// vrot.x, and in arot its attitude against the planet's own frame: here at
// longitude and latitude 0, heading north, +z along the planet's y and +y along its x.
TEST(vessel_creation, a_landed_vessels_status_gives_its_altitude_and_its_attitude_against_the_ground) {
  ScratchWorld w("TouchdownPoints = 0 -3 1  -1 -3 -1  1 -3 -1\n");
  sim::Vessel *v = w->createVessel("L", "Probe", nullptr);
  ASSERT_NE(v, nullptr);
  VESSELSTATUS s;
  v->iface->GetStatus(s);
  EXPECT_EQ(s.status, 1);
  EXPECT_NEAR(length(s.vrot - _V(3, 0, 0)), 0, 1e-6);
  const sim::Mat3 ground = sim::physics::rotFromArot(s.arot);
  EXPECT_NEAR(length(ground.column(2) - _V(0, 1, 0)) + length(ground.column(1) - _V(1, 0, 0)), 0, 1e-12);
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
