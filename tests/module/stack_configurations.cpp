// The launcher's two stack configurations as read from a scenario block:
// meshes, masses and shape as the host records them, through rebuilds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

const char *const SAT_A = "PAYLOAD SatA Varnell\\Sat Varnell\\Sat 0.00 0.00 3.00 1000.00 0.00 1.00";
const char *const SAT_B = "PAYLOAD SatB Varnell\\Sat Varnell\\Sat 0.00 0.00 7.00 3000.00 0.00 1.00";

void expectMesh(sim::World &world, const sim::Vessel &v, size_t i, const char *mesh, double x, double y, double z) {
  ASSERT_LT(i, v.meshes.size());
  EXPECT_TRUE(v.meshes[i].used) << mesh;
  EXPECT_EQ(v.meshes[i].mesh, world.resources().loadMeshGlobal(mesh)) << mesh;
  expectNear(v.meshes[i].ofs, _V(x, y, z), 1e-9, mesh);
}

// The keys' first letters count, the last CONFIGURATION line counts, and
// anything but 1 is the full stack.
TEST(stack_configurations, the_empty_mass_is_structure_fairing_and_payloads_of_the_configuration_read) {
  struct Case {
    std::vector<std::string> lines;
    int configuration;
    double emptyMass;  // [kg]
  };
  const Case cases[] = {
      {{}, 0, 15855},
      {{"CONFIGURATION 0", "FAIRING 1"}, 0, 17940},
      {{"FAIRING 1", SAT_A, SAT_B}, 0, 21940},
      {{"CONFIGURATION 1", "FAIRING 1"}, 1, 2130},
      {{"configuration 1", SAT_A, SAT_B}, 1, 6130},
      {{"CONFIGURATION 7", "FAIRINGS"}, 0, 17940},
      {{"CONFIGURATION 1", "CONFIGURATION 0"}, 0, 15855},
      {{"CONFIGURATION 0", "CONFIGURATION 1"}, 1, 2130},
      {{"FAIRING 0"}, 0, 17940},
      {{"CONFIGURATION 1", "CONFIGURATION"}, 0, 15855},
      {{"CONFIGURATION 1", "CONFIGURATION one"}, 0, 15855},
      {{"CONFIGURATION   +1"}, 1, 2130},
  };
  for (const Case &c : cases) {
    sim::World world(".", "");
    const sim::Vessel *v = loadLauncher(world, c.lines);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(configurationOf(*v), c.configuration) << testing::PrintToString(c.lines);
    EXPECT_EQ(v->emptyMass, c.emptyMass) << testing::PrintToString(c.lines);
    const std::vector<std::string> block = blockOf(savedScenario(world), "L1");
    EXPECT_EQ(std::count(block.begin(), block.end(), "CONFIGURATION " + std::to_string(c.configuration)), 1);
  }
}

// Every row of the vehicle's definition, per configuration. Neither makes lift.
TEST(stack_configurations, each_configuration_has_its_size_inertia_drag_touchdown_points_and_camera) {
  struct Shape {
    VECTOR3 touchdown[3], pmi, crossSections;  // [m], [m^2], [m^2]
    double cw[4];                              // +z, -z, x, y
    VECTOR3 rotDrag, camera;                   // -, [m]
  };
  const Shape shapes[2] = {
      {{{0, -1, -17}, {-0.7, 0.7, -17}, {0.7, 0.7, -17}},
       {129.09, 128.98, 2.39},
       {137.99, 139.15, 14.44},
       {0.1, 0.3, 1.4, 1.4},
       {0.7, 0.7, 0.1},
       {0, 1.9, 0}},
      {{{-1, -2.3, -1}, {1, -2.3, -1}, {0, -2.3, 1}},
       {8.6, 8.58, 1.69},
       {25.96, 25.5, 7.16},
       {0.1, 0.3, 1.4, 1.4},
       {0.4, 0.4, 0.05},
       {0, 2, 3}},
  };
  for (int configuration : {0, 1}) {
    SCOPED_TRACE("configuration " + std::to_string(configuration));
    sim::World world(".", "");
    const sim::Vessel *v = loadLauncher(world, inOrbit({"CONFIGURATION " + std::to_string(configuration)}));
    ASSERT_NE(v, nullptr);
    const Shape &s = shapes[configuration];
    EXPECT_EQ(v->size, 20.0);
    for (int i = 0; i < 3; ++i) expectNear(v->touchdown[i], s.touchdown[i], 0, "touchdown point");
    expectNear(v->pmi, s.pmi, 0, "PMI");
    expectNear(v->crossSections, s.crossSections, 0, "cross sections");
    EXPECT_EQ(std::vector<double>({v->cwZPos, v->cwZNeg, v->cwX, v->cwY}), std::vector<double>(s.cw, s.cw + 4));
    expectNear(v->rotDrag, s.rotDrag, 0, "rotational drag");
    EXPECT_EQ(v->pitchMomentScale, 0.000001);
    EXPECT_EQ(v->bankMomentScale, 0);
    EXPECT_EQ(v->liftFunc, nullptr);
    expectNear(v->cameraOffset, s.camera, 0, "camera");
  }
}

TEST(stack_configurations, the_fairing_halves_take_the_first_mesh_indices_of_the_full_stack) {
  sim::World world(".", "");
  const sim::Vessel *v = loadLauncher(world, {"FAIRING 1", SAT_A});
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(v->meshes.size(), 5u);
  expectMesh(world, *v, 0, "Varnell\\Varnellplf1", -0.935, 0, 30.737);
  expectMesh(world, *v, 1, "Varnell\\Varnellplf2", 0.906, 0, 30.737);
  expectMesh(world, *v, 2, "Varnell\\Varnellstg0", 0, 0, 0);
  expectMesh(world, *v, 3, "Varnell\\Varnellstg1B", 0, 0, 20.169);
  expectNear(v->meshes[4].ofs, _V(0, 0, 3));
  EXPECT_EQ(v->meshes[4].visibility, MESHVIS_EXTERNAL);
}

// A message with a text rebuilds the stack, whatever its key.
TEST(stack_configurations, the_upper_stage_moves_fairing_and_payloads_back_and_rebuilds_leave_them_there) {
  sim::World world(".", "");
  const sim::Vessel *v = loadLauncher(world, {"CONFIGURATION 1", "FAIRING 1", SAT_A});
  ASSERT_NE(v, nullptr);
  Messages messages;
  for (int build = 0; build < 3; ++build, messages.send(v->iface, "NOTES", "rebuild"), world.step()) {
    SCOPED_TRACE("build " + std::to_string(build));
    ASSERT_EQ(v->meshes.size(), 4u);
    expectMesh(world, *v, 0, "Varnell\\Varnellstg1B", 0, 0, 0);
    expectMesh(world, *v, 1, "Varnell\\Varnellplf1", -0.935, 0, 10.568);
    expectMesh(world, *v, 2, "Varnell\\Varnellplf2", 0.906, 0, 10.568);
    expectNear(v->meshes[3].ofs, _V(0, 0, 3 - 20.169));
    EXPECT_EQ(v->emptyMass, 3130);
    EXPECT_EQ(v->thrusters.size(), 12u);
  }
}

}  // namespace
