// Launchers made by the host the way the simulator does, from the class file
// that names the module: the meshes they share, and their place saved.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

const std::vector<std::string> STAGE_AND_FAIRING_MESHES = {"Varnell\\Varnellstg0", "Varnell\\Varnellstg1B",
                                                           "Varnell\\Varnellplf1", "Varnell\\Varnellplf2"};

class launcher_lifecycle : public ::testing::Test {
 protected:
  VARNELL *launch(const std::string &name) { return launcherOf(world.createVessel(name, "Varnell", nullptr)); }
  sim::World world{".", ""};
};

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

TEST_F(launcher_lifecycle, a_saved_launcher_loads_back_in_its_place) {
  ASSERT_NE(loadLauncher(world, {"STATUS Orbiting Earth", "RPOS 7000000 0 0", "RVEL 0 7546 0"}), nullptr);
  const std::string text = savedScenario(world);

  const sim::Vessel *v = world.find("L1");
  ASSERT_NE(v, nullptr);
  EXPECT_NEAR(length(v->pos), 7000000, 1e-3);
  EXPECT_NEAR(length(v->vel), 7546, 1e-6);
  EXPECT_NE(text.find("L1:Varnell\n  STATUS Orbiting Earth\n  RPOS "), std::string::npos) << text;
}

}  // namespace
