// Inputs on which the fuzz targets in fuzz/ found the host at fault, each kept
// as the smallest case that shows the fault.
#include <gtest/gtest.h>

#include <string>

#include "sim/world/world.h"
#include "tests/support/tree.h"

TEST(fuzz_regressions, a_nul_byte_cuts_its_line_so_a_saved_scenario_reads_back_whole) {
  ScratchTree root;
  root.write("Config/Vessels/Probe.cfg", "Mass = 10\n");
  const std::string scenario = std::string("BEGIN_SHIPS\nGood:Probe\nEND\nBad") + '\0' +
                               "ly:Probe\n  HEADING 45\nEND\nEND_SHIPS\n";  // the NUL is on line 4
  root.write("In.scn", scenario);
  {
    sim::World w(root.dir(), "");
    ASSERT_TRUE(w.loadScenario(root.path("In.scn")));
    EXPECT_TRUE(w.log().contains(root.path("In.scn") + ":4: line holds a NUL byte"));
    ASSERT_EQ(w.vessels().size(), 1u);
    ASSERT_TRUE(w.saveScenario(root.path("Saved.scn")));
  }
  sim::World again(root.dir(), "");
  ASSERT_TRUE(again.loadScenario(root.path("Saved.scn")));
  EXPECT_EQ(again.log().errorCount(), 0);
  ASSERT_EQ(again.vessels().size(), 1u);
  EXPECT_EQ(again.vessels()[0]->name, "Good");
}
