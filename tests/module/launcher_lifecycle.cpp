// Launchers made and deleted by the host the way the simulator does, from the
// class file that names the module; the host's interface pointer is read as
// the launcher behind it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "launcher/varnell.h"
#include "sim/world.h"

namespace {

const std::vector<std::string> STAGE_AND_FAIRING_MESHES = {"Varnell\\Varnellstg0", "Varnell\\Varnellstg1B",
                                                           "Varnell\\Varnellplf1", "Varnell\\Varnellplf2"};

class launcher_lifecycle : public ::testing::Test {
 protected:
  VARNELL *launch(const std::string &name) {
    sim::Vessel *v = world.createVessel(name, "Varnell", nullptr);
    return v ? static_cast<VARNELL *>(v->iface) : nullptr;
  }
  sim::World world{".", ""};
};

// A launcher that the simulation creates without scenario lines is built at
// once, so that its first step finds the engines it steers.
TEST_F(launcher_lifecycle, a_launcher_created_in_flight_starts_as_constructed_and_built_as_the_full_stack) {
  VARNELL *l = launch("L1");
  ASSERT_NE(l, nullptr);
  EXPECT_FALSE(l->fairingAttached);
  EXPECT_EQ(l->configuration, 0);
  EXPECT_FALSE(l->launchCommand);
  EXPECT_FALSE(l->separationCommand);
  EXPECT_EQ(l->stageTimer, 0);
  EXPECT_EQ(l->met, -10);
  EXPECT_EQ(l->upperStageOffset, 0);

  const sim::Vessel *v = world.find("L1");
  EXPECT_EQ(v->thrusters.size(), 4u);
  EXPECT_NE(v->group(THGROUP_HOVER), nullptr);
  EXPECT_EQ(v->emptyMass, 15855);

  world.step();
  EXPECT_EQ(world.log().refusedCount(), 0);
}

TEST_F(launcher_lifecycle, every_launcher_loads_the_stage_and_fairing_meshes_in_order) {
  VARNELL *first = launch("L1");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(world.meshRequests, STAGE_AND_FAIRING_MESHES);
  const MESHHANDLE loaded[] = {first->meshStg0, first->meshStg1B, first->meshPlf1, first->meshPlf2};
  for (std::size_t i = 0; i < std::size(loaded); ++i) {
    EXPECT_NE(loaded[i], nullptr) << STAGE_AND_FAIRING_MESHES[i];
    EXPECT_EQ(loaded[i], world.loadMeshGlobal(STAGE_AND_FAIRING_MESHES[i])) << STAGE_AND_FAIRING_MESHES[i];
  }

  world.meshRequests.clear();
  VARNELL *second = launch("L2");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(world.meshRequests, STAGE_AND_FAIRING_MESHES);
  EXPECT_EQ(second->meshPlf2, first->meshPlf2);
}

TEST_F(launcher_lifecycle, a_new_payload_manager_has_an_empty_manifest_bound_to_the_message_module) {
  VARNELL *l = launch("L1");
  ASSERT_NE(l, nullptr);
  for (const PAYLOAD_ENTRY &e : l->entries) {
    EXPECT_FALSE(e.used);
    EXPECT_EQ(e.name[0], '\0');
    EXPECT_EQ(e.mesh.hMesh, nullptr);
  }
  EXPECT_EQ(l->openStage, -1);
  EXPECT_TRUE(l->payloadMeshes.empty());
  EXPECT_NE(l->hMessageModule, nullptr);
  EXPECT_FALSE(l->releaseVelOverrideSet);
  EXPECT_EQ(l->releaseVelOverride.x, 0);
  EXPECT_EQ(l->releaseVelOverride.y, 0);
  EXPECT_EQ(l->releaseVelOverride.z, 1);
}

TEST_F(launcher_lifecycle, a_saved_launcher_loads_back_in_its_place) {
  const std::string scenario = "module-lifecycle.scn", saved = "module-lifecycle-saved.scn";
  std::ofstream(scenario) << "BEGIN_SHIPS\nL1:Varnell\n  STATUS Orbiting Earth\n  RPOS 7000000 0 0\n"
                             "  RVEL 0 7546 0\nEND\nEND_SHIPS\n";
  ASSERT_TRUE(world.loadScenario(scenario));
  ASSERT_TRUE(world.saveScenario(saved));
  std::ostringstream text;
  text << std::ifstream(saved).rdbuf();
  std::remove(scenario.c_str());
  std::remove(saved.c_str());

  const sim::Vessel *v = world.find("L1");
  ASSERT_NE(v, nullptr);
  EXPECT_NEAR(length(v->pos), 7000000, 1e-3);
  EXPECT_NEAR(length(v->vel), 7546, 1e-6);
  EXPECT_NE(text.str().find("L1:Varnell\n  STATUS Orbiting Earth\n  RPOS "), std::string::npos) << text.str();
}

}  // namespace
