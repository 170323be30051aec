// Meshes in the simulator's plain-text format: what a file holds, and each fault at its line.
#include "sim/formats/mesh.h"

#include <gtest/gtest.h>

#include "tests/support/tree.h"

namespace {

const char kTwoGroups[] =
    "MSHX1\n"
    "GROUPS 2\n"
    "LABEL body\nMATERIAL 1\nTEXTURE 1\n"
    "GEOM 4 2 ; a square\n"
    "-1 -2 0 0 0 -1 0 0\n1 -2 0 0 0 -1 1 0\n1 2 0 0 0 -1 1 1\n-1 2 0 0 0 -1 0 1\n"
    "0 1 2\n0 2 3\n"
    "NONORMAL\nFLAG 3\n"
    "GEOM 3 1\n0\t0 -5\n0 0\v7\n3\f0 0\n2 1 0\n"  // words split at any blank
    "MATERIALS 1\nwhite\nMATERIAL white\n1 1 1 1\n1 1 1 1\n0 0 0 1 10\n0 0 0 1\n"
    "TEXTURES 1\nVarnell\\skin.dds\n";

}  // namespace

TEST(mesh_reader, reads_groups_counts_and_the_box_that_holds_the_mesh) {
  ScratchTree root;
  root.write("m.msh", kTwoGroups);
  sim::Log log("");
  std::unique_ptr<sim::Mesh> m = sim::readMesh(root.path("m.msh"), "m", log);
  ASSERT_NE(m, nullptr) << (log.lines().empty() ? "" : log.lines().back());
  ASSERT_EQ(m->groups.size(), 2u);
  EXPECT_EQ(m->groups[0].label, "body");
  EXPECT_TRUE(m->groups[1].flags == 3u && m->groups[1].noNormals);
  EXPECT_EQ(std::vector<double>({double(m->vertexCount()), double(m->triangleCount()), m->boxMin.y, m->boxMin.z,
                                 m->boxMax.x, m->boxMax.z}),
            std::vector<double>({7, 3, -2, -5, 3, 7}));
  EXPECT_EQ(m->textures, std::vector<std::string>{"Varnell\\skin.dds"});
}

TEST(mesh_reader, malformed_files_are_reported_at_their_line_and_give_no_mesh) {
  // Each file, and the line its fault is reported at.
  const std::pair<std::string, int> cases[] = {
      {"MSH\nGROUPS 1\n", 1},
      {"MSHX1\nGROUPS one\n", 2},
      {"MSHX1\nGROUPS 1\nGEOM 3 1\n0 0 0\n1 0 0\n0 1 0\n0 1 3\n", 7},
      {"MSHX1\nGROUPS 1\nGEOM 3 1\n0 0 0\n1 zero 0\n0 1 0\n0 1 2\n", 5},
      {"MSHX1\nGROUPS 1\nGEOM 3 1\n0 0 0\n1" + std::string(400, '0') + " 0 0\n0 1 0\n0 1 2\n", 5},  // past 1e308
      {"MSHX1\nGROUPS 1\nGEOM 3 1\n0 0 0\n1 0 0\n", 5},
      {"MSHX1\nGROUPS 1\nMATERIAL 2\nGEOM 3 1\n0 0 0\n1 0 0\n0 1 0\n0 1 2\n", 3},
  };
  ScratchTree root;
  for (const auto &[text, line] : cases) {
    root.write("bad.msh", text);
    sim::Log log("");
    EXPECT_EQ(sim::readMesh(root.path("bad.msh"), "bad", log), nullptr) << text;
    EXPECT_TRUE(log.contains(root.path("bad.msh") + ":" + std::to_string(line) + ":")) << log.lines().back();
  }
}
