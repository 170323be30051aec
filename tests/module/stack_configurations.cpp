// The launcher's two stack configurations as read from a scenario block:
// meshes, masses and shape as the host records them, through rebuilds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

const char *const SAT_A = "PAYLOAD SatA Varnell\\Sat Varnell\\Sat 0.00 0.00 3.00 1000.00 0.00 1.00";
const char *const SAT_B = "PAYLOAD SatB Varnell\\Sat Varnell\\Sat 0.00 0.00 7.00 3000.00 0.00 1.00";

void expectMesh(sim::World &world, const sim::Vessel &v, size_t i, const char *mesh, double x, double y, double z) {
  ASSERT_LT(i, v.meshes.size());
  EXPECT_TRUE(v.meshes[i].used) << mesh;
  EXPECT_EQ(v.meshes[i].mesh, world.loadMeshGlobal(mesh)) << mesh;
  expectVector(v.meshes[i].ofs, x, y, z, mesh);
}

TEST(stack_configurations, the_empty_mass_is_structure_fairing_and_payloads_of_the_configuration_built) {
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
  };
  for (const Case &c : cases) {
    sim::World world(".", "");
    VARNELL *l = loadLauncher(world, c.lines);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->configuration, c.configuration) << testing::PrintToString(c.lines);
    EXPECT_EQ(world.find("L1")->emptyMass, c.emptyMass) << testing::PrintToString(c.lines);
  }
}

TEST(stack_configurations, the_empty_mass_follows_the_manifest_only_at_a_build) {
  sim::World world(".", "");
  VARNELL *l = loadLauncher(world, {});
  ASSERT_NE(l, nullptr);
  VECTOR3 centre = _V(1, 1, 1);
  EXPECT_EQ(l->GetPayloadMass(centre), 0);
  expectVector(centre, 0, 0, 0);
  l->ParseScenarioLine(SAT_A);
  l->ParseScenarioLine(SAT_B);
  EXPECT_EQ(world.find("L1")->emptyMass, 15855);
  EXPECT_EQ(l->GetPayloadMass(centre), 4000);
  expectVector(centre, 0, 0, 6);  // from the offsets, wherever the payloads were last placed
  l->Reconfigure();
  EXPECT_EQ(world.find("L1")->emptyMass, 19855);
}

TEST(stack_configurations, the_fairing_halves_take_the_first_mesh_indices_of_the_full_stack) {
  sim::World world(".", "");
  VARNELL *l = loadLauncher(world, {"FAIRING 1", SAT_A});
  ASSERT_NE(l, nullptr);
  const sim::Vessel &v = *world.find("L1");
  ASSERT_EQ(v.meshes.size(), 5u);
  expectMesh(world, v, 0, "Varnell\\Varnellplf1", -0.935, 0, 30.737);
  expectMesh(world, v, 1, "Varnell\\Varnellplf2", 0.906, 0, 30.737);
  expectMesh(world, v, 2, "Varnell\\Varnellstg0", 0, 0, 0);
  expectMesh(world, v, 3, "Varnell\\Varnellstg1B", 0, 0, 20.169);
  expectVector(v.meshes[4].ofs, 0, 0, 3);
  EXPECT_EQ(v.meshes[4].visibility, MESHVIS_EXTERNAL);
  EXPECT_EQ(l->plf1MeshIndex, 0u);
  EXPECT_EQ(l->plf2MeshIndex, 1u);
}

TEST(stack_configurations, the_upper_stage_moves_fairing_and_payloads_back_and_rebuilds_leave_them_there) {
  sim::World world(".", "");
  VARNELL *l = loadLauncher(world, {"CONFIGURATION 1", "FAIRING 1", SAT_A});
  ASSERT_NE(l, nullptr);
  const sim::Vessel &v = *world.find("L1");
  for (int build = 0; build < 3; ++build, l->Reconfigure()) {
    SCOPED_TRACE("build " + std::to_string(build));
    ASSERT_EQ(v.meshes.size(), 4u);
    expectMesh(world, v, 0, "Varnell\\Varnellstg1B", 0, 0, 0);
    expectMesh(world, v, 1, "Varnell\\Varnellplf1", -0.935, 0, 10.568);
    expectMesh(world, v, 2, "Varnell\\Varnellplf2", 0.906, 0, 10.568);
    expectVector(v.meshes[3].ofs, 0, 0, 3 - 20.169);
    expectVector(l->entries[0].carrierPos, 0, 0, 3 - 20.169);
    EXPECT_EQ(l->plf1MeshIndex, 1u);
    EXPECT_EQ(l->plf2MeshIndex, 2u);
    EXPECT_EQ(l->upperStageOffset, 20.169);
    EXPECT_EQ(v.emptyMass, 3130);
  }
}

}  // namespace
