// Bad input in scenarios and class files: each fault is logged with its file and
// line, what can be read is kept, and nothing stops the rest of the file. (The
// inputs on which the fuzz targets found the host at fault are seeds of their
// corpus in fuzz/corpus/, replayed by every fuzzing run.)
#include <gtest/gtest.h>

#include "sim/world/world.h"
#include "tests/support/tree.h"

namespace {

// Line numbers matter: the test names them.
const char kBadScenario[] =
    "BEGIN_SHIPS\n"               // 1
    "A:Plain\n"                   // 2
    "  POS abc 28\n"              // 3  not a number
    "  HEADING 45\n"              // 4  kept
    "END\n"                       // 5
    "B:Nowhere\\Missing\n"        // 6  no class file
    "  STATUS Landed Earth\n"     // 7
    "END\n"                       // 8
    "C:Plain\n"                   // 9  no END
    "  PRPLEVEL 0:0.5 x:1 4:1\n"  // 10 one bad pair, one tank too many
    "D:Meshy\n"                   // 11 a mesh that is missing
    "  LONG %s\n"                 // 12 too long
    "  HEADING 30\n"              // 13
    "END\n"                       // 14
    "END_SHIPS\n";

}  // namespace

TEST(scenario_faults, each_bad_input_is_logged_at_its_line_and_the_rest_is_kept) {
  ScratchTree root;
  root.write("Config/Vessels/Plain.cfg", "Mass = 10\nMaxFuel = 100\n");
  root.write("Config/Vessels/Meshy.cfg", "Mass = 5\nMeshName = Gone\nSize = big\n");
  char text[4096];
  std::snprintf(text, sizeof text, kBadScenario, std::string(2000, 'x').c_str());
  root.write("Bad.scn", text);
  sim::World w(root.dir(), "");
  ASSERT_TRUE(w.loadScenario(root.path("Bad.scn")));
  const std::string scn = root.path("Bad.scn") + ":";
  for (int line : {3, 6, 9, 10, 12}) EXPECT_TRUE(w.log().contains(scn + std::to_string(line) + ":")) << line;
  const std::string cfg = root.path("Config/Vessels/Meshy.cfg") + ":";
  EXPECT_TRUE(w.log().contains(cfg + "2:"));  // the missing mesh
  EXPECT_TRUE(w.log().contains(cfg + "3:"));  // Size is no number
  EXPECT_TRUE(w.log().contains(root.path("Meshes/Gone.msh")));

  ASSERT_EQ(w.vessels().size(), 3u);
  EXPECT_NEAR(w.find("A")->surfHeading, M_PI / 4, 1e-15);
  EXPECT_EQ(w.find("C")->tanks[0].mass, 50);
  const sim::Vessel *d = w.find("D");
  EXPECT_NEAR(d->surfHeading, M_PI / 6, 1e-15);
  EXPECT_TRUE(d->meshes.empty());
  EXPECT_EQ(d->size, 1);
  ASSERT_EQ(d->unknownLines.size(), 1u);
  EXPECT_EQ(d->unknownLines[0].text.size(), 1023u - 2);  // the line was cut, then trimmed
  EXPECT_FALSE(w.loadScenario(root.path("None.scn")));
}

TEST(scenario_faults, unclosed_blocks_are_reported_where_they_begin) {
  ScratchTree root;
  root.write("Config/Vessels/Plain.cfg", "Mass = 10\n");
  root.write("Open.scn", "BEGIN_DESC\nnever closed\nBEGIN_SHIPS\nA:Plain\nEND\n");
  root.write("Ships.scn", "BEGIN_SHIPS\nnot a vessel\nA:Plain\nEND\n");
  sim::World w(root.dir(), "");
  w.loadScenario(root.path("Open.scn"));
  EXPECT_TRUE(w.log().contains(root.path("Open.scn") + ":1: block has no END_DESC"));
  w.loadScenario(root.path("Ships.scn"));
  EXPECT_TRUE(w.log().contains(root.path("Ships.scn") + ":2:"));
  EXPECT_TRUE(w.log().contains(root.path("Ships.scn") + ":1: BEGIN_SHIPS has no END_SHIPS"));
  EXPECT_EQ(w.vessels().size(), 1u);
}
