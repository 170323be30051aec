// "expect" lines: read from a pilot program, then checked by varnell fly
// against the flight it flew.
#include <gtest/gtest.h>

#include <sstream>

#include "sim/pilot/program.h"
#include "tests/support/pilot.h"
#include "sim/runner/commands.h"
#include "tests/support/tree.h"

using namespace sim::pilot;

TEST(flight_expectations, every_form_is_read_and_after_names_the_nearest_line_above_by_label_or_vessel) {
  const Program p = pilotProgram(
      "expect Sat1 tank 0 < 50.5\n"
      "expect Sat1 status Crashed\n"
      "expect event L1 tank-deleted as burn-out\n"
      "expect event L1 tank-deleted \"tank 0\" at 228 within 2   # the later L1 line\n"
      "expect event L1 group-level \"MAIN 1\" after burn-out by 10 within 0.1 as ignition\n"
      "expect event plf vessel-created after L1\n"
      "at 2 end\n");
  ASSERT_EQ(p.expectations.size(), 6u);
  EXPECT_EQ(p.rules.size(), 1u);

  const Expectation &tank = p.expectations[0], &atTime = p.expectations[3], &ignition = p.expectations[4];
  EXPECT_TRUE(tank.kind == Expectation::Kind::reading && tank.vessel == "Sat1" &&
              tank.reading.quantity == Quantity::tank && !tank.reading.above && tank.reading.threshold == 50.5);
  EXPECT_EQ(p.expectations[1].status, "crashed");
  EXPECT_TRUE(atTime.line == 4 && atTime.detailPrefix == "tank 0" && atTime.timing == Expectation::Timing::at &&
              atTime.time == 228 && atTime.tolerance == 2);
  EXPECT_EQ(atTime.text, "expect event L1 tank-deleted \"tank 0\" at 228 within 2");
  EXPECT_TRUE(ignition.after == 2 && ignition.timing == Expectation::Timing::by && ignition.time == 10 &&
              ignition.label == "ignition");
  EXPECT_EQ(p.expectations[5].after, 3);  // not the one called ignition, nor the one called burn-out
  EXPECT_EQ(p.expectations[5].timing, Expectation::Timing::any);
}

TEST(flight_expectations, mistakes_are_reported_with_their_line_and_the_line_left_out) {
  std::vector<std::string> errors;
  const Program p = pilotProgram(
      "expect event L1 liftoff\n"                           // 1 good
      "expect Sat1 status orbiting\n"                       // 2 unknown status
      "expect Sat1 periapsis >= 1\n"                        // 3 bad operator
      "expect event L1 lift-off\n"                          // 4 unknown kind
      "expect event L1 liftoff after L2\n"                  // 5 no such line above
      "expect event L2 liftoff by 3\n"                      // 6 by without after
      "expect event L2 liftoff at 3 after L1\n"             // 7 at and after
      "expect event L2 liftoff within 1\n"                  // 8 within without timing
      "expect event L2 group-level \"MAIN 1 at 3\n"         // 9 quote not closed
      "expect event L2 liftoff at 3 soon\n"                 // 10 unknown word
      "expect event L1 landed after liftoff\n"              // 11 labels are vessels, not kinds
      "expect event L1 landed after L1 by 100 within 5\n",  // 12 good
      &errors);
  ASSERT_EQ(errors.size(), 10u);
  for (int line = 2; line <= 11; ++line)
    EXPECT_EQ(errors[line - 2].rfind("test.pilot:" + std::to_string(line) + ": ", 0), 0u) << errors[line - 2];
  EXPECT_NE(errors[0].find("\"orbiting\""), std::string::npos);
  ASSERT_EQ(p.expectations.size(), 2u);
  EXPECT_EQ(p.expectations[1].after, 0);
}

// A probe on the ground and one in a 300 km orbit, flown for two seconds.
TEST(flight_expectations, varnell_fly_reports_each_and_exits_1_when_one_is_not_met) {
  ScratchTree tree;
  tree.withProbe();
  tree.write("Scenarios/Test/Two.scn",
             "BEGIN_FOCUS\n  Ship Pad\nEND_FOCUS\nBEGIN_SHIPS\n"
             "Pad:Probe\n  STATUS Landed Earth\n  POS 10 20\n  HEADING 90\nEND\n"
             "Sat:Probe\n  STATUS Orbiting Earth\n  RPOS 6671010 0 0\n  RVEL 0 0 7729.9\nEND\nEND_SHIPS\n");
  const std::string flight = "at 0.5 key B\nat 2 end\n";
  const std::string met =
      "expect Sat periapsis > 290000\n"
      "expect Pad status landed\n"
      "expect event Pad key \"B 0x30 down\" at 0.5 within 0.01 as press\n"
      "expect Sat inclination < 0.001\n"  // eastward along the equator
      "expect Sat eccentricity < 0.001\n";
  const std::string notMet =
      "expect Sat apoapsis < 250000\n"
      "expect Pad status crashed\n"
      "expect event Pad key after press by 1\n"
      "expect event Pad key \"J\"\n"
      "expect Ghost mass > 1\n"
      "expect event Ghost landed after Pad\n"
      "expect event Pad key \"B\" after Ghost\n"
      "expect Sat inclination > 90\n"
      "expect Sat eccentricity > 0.5\n";
  struct Run {
    std::string pilot;
    int status;
    const char *count;
  };
  std::string report;
  for (const Run &run :
       {Run{flight + met, 0, "expectations: 5 of 5 met"}, Run{flight + met + notMet, 1, "expectations: 5 of 14 met"},
        Run{flight, 0, "expectations: none"}}) {
    tree.write("Scenarios/Test/Two.pilot", run.pilot);
    sim::runner::FlyOptions o;
    o.scenario = "Scenarios/Test/Two.scn";
    o.root = tree.dir();
    std::ostringstream out, err;
    EXPECT_EQ(sim::runner::runFly(o, out, err, false), run.status) << out.str() << err.str();
    EXPECT_NE(out.str().find(run.count), std::string::npos) << out.str();
    if (run.status == 1) report = out.str();
  }
  for (const char *line :
       {"  met     line 5: expect event Pad key \"B 0x30 down\" at 0.5 within 0.01 as press: came at 0.500 s\n",
        "  FAILED  line 8: expect Sat apoapsis < 250000: reads 30",
        "  FAILED  line 9: expect Pad status crashed: is landed\n",
        "  FAILED  line 10: expect event Pad key after press by 1: came at 0.500 s, 0.000 s after that of line 5\n",
        "  FAILED  line 11: expect event Pad key \"J\": did not come\n",
        "  FAILED  line 12: expect Ghost mass > 1: no vessel of that name at the end\n",
        "  FAILED  line 13: expect event Ghost landed after Pad: the event of line 11 did not come\n",
        "  FAILED  line 14: expect event Pad key \"B\" after Ghost: the event of line 13 did not come\n",
        "  FAILED  line 15: expect Sat inclination > 90: reads 0.000 deg\n",
        "  FAILED  line 16: expect Sat eccentricity > 0.5: reads 0.00"})
    EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
}
