// Launchers made by the host the way the simulator does, from the class file
// that names the module: the meshes they share, and how a new one starts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/launcher.h"

namespace {

const std::vector<std::string> STAGE_AND_FAIRING_MESHES = {"Varnell\\Varnellstg0", "Varnell\\Varnellstg1B",
                                                           "Varnell\\Varnellplf1", "Varnell\\Varnellplf2"};

// The first loads them, in order; the second shares them.
TEST(launcher_lifecycle, every_launcher_loads_the_stage_and_fairing_meshes_in_order) {
  sim::World world(".", "");
  const auto loaded = [&world] {
    std::vector<std::string> names;
    for (const std::string &line : world.log().lines())
      if (line.find("global mesh loaded: ") != std::string::npos) names.push_back(line.substr(line.rfind(' ') + 1));
    return names;
  };
  sim::Vessel *l1 = world.createVessel("L1", "Varnell", nullptr);
  ASSERT_NE(l1, nullptr);
  EXPECT_EQ(loaded(), STAGE_AND_FAIRING_MESHES);
  sim::Vessel *l2 = world.createVessel("L2", "Varnell", nullptr);
  ASSERT_NE(l2, nullptr);
  EXPECT_EQ(loaded(), STAGE_AND_FAIRING_MESHES);
  ASSERT_EQ(l2->meshes.size(), l1->meshes.size());
  for (size_t i = 0; i < l1->meshes.size(); ++i) EXPECT_EQ(l2->meshes[i].mesh, l1->meshes[i].mesh) << i;
}

// Made bare, as a module would in flight: the full stack without fairing or
// payloads, the count held, no command given; so it stays, step after step.
TEST(launcher_lifecycle, a_new_launcher_is_the_bare_full_stack_with_its_count_held_and_no_command) {
  sim::World world(".", "");
  world.dt = 0.5;
  sim::Vessel *v = world.createVessel("L1", "Varnell", nullptr);
  ASSERT_NE(v, nullptr);
  for (int step = 0; step <= 40; ++step, world.step()) {
    SCOPED_TRACE("step " + std::to_string(step));
    EXPECT_EQ(configurationOf(*v), 0);
    EXPECT_EQ(usedMeshes(*v), 2);
    EXPECT_FALSE(fairingOn(world, *v));
    EXPECT_EQ(v->emptyMass, 15855);
    EXPECT_EQ(v->groupLevel(THGROUP_HOVER), 0);
    if (step > 0) {
      EXPECT_STREQ(world.cockpit().debugString(), "MET -10.0");
    }
  }
  EXPECT_EQ(world.vessels().size(), 1u);  // nothing staged
  EXPECT_EQ(world.log().refusedCount(), 0);
}

}  // namespace
