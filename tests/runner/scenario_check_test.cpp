// varnell check: every problem of a scenario, its classes, meshes, manifest
// lines and pilot program, each at its file and line, without flying.
#include <gtest/gtest.h>

#include <sstream>

#include "sim/runner/commands.h"
#include "tests/support/tree.h"

namespace {

// Line numbers matter: the test names them.
const char kBad[] =
    "BEGIN_SHIPS\n"                                         // 1
    "Carrier:Probe\n"                                       // 2
    "  STATUS Landed Earth\n"                               // 3
    "  POS 0 0\n"                                           // 4
    "  STAGE Kick Probe Probe 0 0 2.5 950 0 1\n"            // 5  good
    "  PAYLOAD Sat1 Probe Probe 1.2 0 3.1 600 90 0.5\n"     // 6  good
    "  PAYLOAD Sat2 Probe Probe 1.2 0 3.1 600 90\n"         // 7  eight fields
    "  PAYLOAD Sat3 Probe Probe 1.2 zero 3.1 600 90 0.5\n"  // 8  y is no number
    "  PAYLOAD Sat4 Nowhere\\Mesh Probe 0 0 4 10 0 1\n"     // 9  no such mesh
    "  PAYLOAD Sat5 Probe Nowhere\\Class 0 0 4 10 0 1\n"    // 10 no such class
    "  PAYLOAD Sat6 Probe Broken 0 0 5 10 0 1\n"            // 11 its class's mesh is missing
    "  ENDSTAGE\n"                                          // 12
    "  ENDSTAGE\n"                                          // 13 closes nothing
    "  STAGE Kick2 Probe Probe 0 0 6 100 0 1.5\n"           // 14 fuel over 1, never closed
    "  payload Sat7 Probe Probe 0 0 7 10 0 1\n"             // 15 lower case
    "END\n"                                                 // 16
    "Lost:Nowhere\\Ghost\n"                                 // 17 no class file
    "END\n"                                                 // 18
    "END_SHIPS\n";

struct Checked {
  int status;
  std::string out;
};

Checked check(const ScratchTree &tree, const std::string &scenario) {
  std::ostringstream out;
  const int status = sim::runner::runCheck({scenario, tree.dir()}, out);
  return {status, out.str()};
}

}  // namespace

TEST(scenario_check, each_problem_is_reported_at_its_file_and_line_with_exit_status_1) {
  ScratchTree tree;
  tree.withProbe();
  tree.write("Config/Vessels/Broken.cfg", "Mass = 1\nMeshName = Gone\n");
  tree.write("Scenarios/Test/Bad.scn", kBad);
  tree.write("Scenarios/Test/Bad.pilot", "at 0 key B\nat x key J\n");
  const Checked c = check(tree, "Scenarios/Test/Bad.scn");
  EXPECT_EQ(c.status, 1);
  const std::string scn = "Scenarios/Test/Bad.scn:";
  for (int line : {7, 8, 9, 10, 13, 15, 17})
    EXPECT_NE(c.out.find(scn + std::to_string(line) + ": "), std::string::npos) << line;
  EXPECT_NE(c.out.find(scn + "14: fuel"), std::string::npos);
  EXPECT_NE(c.out.find(scn + "14: STAGE is never closed"), std::string::npos);
  for (int line : {5, 6, 11, 12}) EXPECT_EQ(c.out.find(scn + std::to_string(line) + ": "), std::string::npos) << line;
  EXPECT_NE(c.out.find(tree.path("Config/Vessels/Broken.cfg") + ":2: "), std::string::npos) << c.out;
  EXPECT_NE(c.out.find("Scenarios/Test/Bad.pilot:2: "), std::string::npos);
  EXPECT_NE(c.out.find("Nowhere/Mesh.msh"), std::string::npos);
}

TEST(scenario_check, a_sound_scenario_passes_with_exit_status_0) {
  ScratchTree tree;
  tree.withProbe();
  tree.write("Scenarios/Test/Good.scn",
             "BEGIN_SHIPS\nCarrier:Probe\n  STATUS Landed Earth\n  POS 0 0\n"
             "  STAGE Kick Probe Probe 0 0 2.5 950 0 1\n  PAYLOAD Sat1 Probe Probe 1.2 0 3.1 600 90 0.5\n"
             "  ENDSTAGE\nEND\nEND_SHIPS\n");
  const Checked c = check(tree, "Scenarios/Test/Good.scn");
  EXPECT_EQ(c.status, 0) << c.out;
  EXPECT_NE(c.out.find("no problems found"), std::string::npos);
  EXPECT_EQ(check(tree, "Scenarios/Test/None.scn").status, 1);
}
