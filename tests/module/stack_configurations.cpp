// The launcher's two stack configurations as read from a scenario block:
// meshes, masses and shape as the host records them, through rebuilds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/launcher.h"

namespace {

const char *const SAT_A = "PAYLOAD SatA Varnell\\Sat Varnell\\Sat 0.00 0.00 3.00 1000.00 0.00 1.00";
const char *const SAT_B = "PAYLOAD SatB Varnell\\Sat Varnell\\Sat 0.00 0.00 7.00 3000.00 0.00 1.00";

// The keys' first letters count, the last CONFIGURATION line counts, and
// anything but 1 is the full stack.
TEST(stack_configurations, the_empty_mass_is_structure_fairing_and_payloads_of_the_configuration_read) {
  // The block's lines, the configuration built and its empty mass [kg].
  const std::tuple<std::vector<std::string>, int, double> cases[] = {
      {{}, 0, 15855},
      {{"CONFIGURATION 0", "FAIRING 1"}, 0, 17940},
      {{"FAIRING 1", SAT_A, SAT_B}, 0, 21940},
      {{"CONFIGURATION 1", "FAIRING 1"}, 1, 4215},  // the fairing weighs with the stage until it goes
      {{"configuration 1", SAT_A, SAT_B}, 1, 6130},
      {{"CONFIGURATION 7", "FAIRINGS"}, 0, 17940},
      {{"CONFIGURATION 1", "CONFIGURATION 0"}, 0, 15855},
      {{"CONFIGURATION 0", "CONFIGURATION 1"}, 1, 2130},
      {{"FAIRING 0"}, 0, 15855},
      {{"CONFIGURATION 1", "CONFIGURATION one"}, 0, 15855},
      {{"CONFIGURATION   +1"}, 1, 2130},
      {{"CONFIGURATION 4294967297"}, 0, 15855},  // past an int: not 1 cut short
  };
  for (const auto &[lines, configuration, emptyMass] : cases) {
    Flight f(lines);
    EXPECT_EQ(configurationOf(*f.v), configuration) << testing::PrintToString(lines);
    EXPECT_EQ(f.v->emptyMass, emptyMass) << testing::PrintToString(lines);
    const std::vector<std::string> block = blockOf(savedScenario(f.world), "L1");
    EXPECT_EQ(std::count(block.begin(), block.end(), "CONFIGURATION " + std::to_string(configuration)), 1);
  }
}

// Every row of the vehicle's definition, for the full stack and the upper stage. Neither makes lift.
TEST(stack_configurations, each_configuration_has_its_size_inertia_drag_touchdown_points_and_camera) {
  // Touchdown points [m], principal moments [m^2], cross sections [m^2], rotational drag, camera [m].
  const VECTOR3 touchdown[2][3] = {{{0, -1, -17}, {-0.7, 0.7, -17}, {0.7, 0.7, -17}},
                                   {{-1, -2.3, -1}, {1, -2.3, -1}, {0, -2.3, 1}}};
  const VECTOR3 pmi[2] = {{129.09, 128.98, 2.39}, {8.6, 8.58, 1.69}};
  const VECTOR3 crossSections[2] = {{137.99, 139.15, 14.44}, {25.96, 25.5, 7.16}};
  const VECTOR3 rotDrag[2] = {{0.7, 0.7, 0.1}, {0.4, 0.4, 0.05}}, camera[2] = {{0, 1.9, 0}, {0, 2, 3}};
  for (int c : {0, 1}) {
    SCOPED_TRACE("configuration " + std::to_string(c));
    Flight f(inOrbit({"CONFIGURATION " + std::to_string(c)}));
    const sim::Vessel *v = f.v;
    EXPECT_EQ(v->size, 20.0);
    for (int i = 0; i < 3; ++i) expectNear(v->touchdown[i], touchdown[c][i], 0, "touchdown point");
    expectNear(v->pmi, pmi[c], 0, "PMI");
    expectNear(v->crossSections, crossSections[c], 0, "cross sections");
    EXPECT_EQ(std::vector<double>({v->cwZPos, v->cwZNeg, v->cwX, v->cwY}), std::vector<double>({0.1, 0.3, 1.4, 1.4}));
    expectNear(v->rotDrag, rotDrag[c], 0, "rotational drag");
    EXPECT_EQ(v->pitchMomentScale, 0.000001);
    EXPECT_EQ(v->bankMomentScale, 0);
    EXPECT_EQ(v->liftFunc, nullptr);
    expectNear(v->cameraOffset, camera[c], 0, "camera");
  }
}

// The fairing halves take the first mesh indices of the full stack; the upper
// stage moves fairing and payloads back, and rebuilds (for a message with a
// text, whatever its key) leave them there.
TEST(stack_configurations, meshes_sit_where_each_configuration_puts_them_through_rebuilds) {
  struct Mesh {
    const char *name;  // null: the payload's
    VECTOR3 ofs;       // [m]
  };
  struct Case {
    std::vector<std::string> lines;
    std::vector<Mesh> meshes;
    double emptyMass;  // [kg]
  };
  const char *const PLF1 = "Varnell\\Varnellplf1", *const PLF2 = "Varnell\\Varnellplf2";
  const Case cases[] = {{{"FAIRING 1", SAT_A},
                         {{PLF1, {-0.935, 0, 30.737}},
                          {PLF2, {0.906, 0, 30.737}},
                          {"Varnell\\Varnellstg0", {0, 0, 0}},
                          {"Varnell\\Varnellstg1B", {0, 0, 20.169}},
                          {nullptr, {0, 0, 3}}},
                         18940},
                        {{"CONFIGURATION 1", "FAIRING 1", SAT_A},
                         {{"Varnell\\Varnellstg1B", {0, 0, 0}},
                          {PLF1, {-0.935, 0, 10.568}},
                          {PLF2, {0.906, 0, 10.568}},
                          {nullptr, {0, 0, 3 - 20.169}}},
                         5215}};
  for (const Case &c : cases) {
    Flight f(c.lines);
    for (int build = 0; build < 3; ++build, Messages().send(f.v->iface, "NOTES", "rebuild"), f.world.step()) {
      SCOPED_TRACE(c.lines[0] + ", build " + std::to_string(build));
      ASSERT_EQ(f.v->meshes.size(), c.meshes.size());
      for (size_t i = 0; i < c.meshes.size(); ++i) {
        const sim::MeshSlot &slot = f.v->meshes[i];
        EXPECT_TRUE(slot.used) << i;
        if (c.meshes[i].name) {
          EXPECT_EQ(slot.mesh, f.world.resources().loadMeshGlobal(c.meshes[i].name)) << c.meshes[i].name;
        } else {
          EXPECT_EQ(slot.visibility, MESHVIS_EXTERNAL);
        }
        expectNear(slot.ofs, c.meshes[i].ofs, 1e-9, "mesh " + std::to_string(i));
      }
      EXPECT_EQ(f.v->emptyMass, c.emptyMass);
    }
  }
}

}  // namespace
