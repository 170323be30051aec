// Pilot programs read: the kinds of rule no flight here uses, with their
// units, and each bad line reported at its line; then every form of "expect"
// line read and checked by varnell fly against the flight it flew.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <tuple>

#include "sim/pilot/program.h"
#include "sim/runner/commands.h"
#include "tests/support/runner.h"
#include "tests/support/tree.h"

using namespace sim::pilot;

const double kDeg = M_PI / 180;  // [rad/deg]

// The forms that no flight in these tests uses: a pitch program by time,
// prograde, steering off, a speed condition, a hover throttle; a tank reading
// with a fraction; gains that change later lines only; angles in degrees.
TEST(pilot_program, every_kind_of_line_is_read_with_its_units) {
  const Program p = pilotProgram(
      "# a comment line\n"
      "vessel Stack\n"
      "at 12.5 steer heading -45 pitch time 0:90 100:45   # a remark\n"
      "gains yaw 0.3 0.7\n"
      "when speed < 10 steer heading 90 prograde\n"
      "when tank 2 < 100.5 throttle hover 0.25\n"
      "at 300 steer off\n"
      "at 400 rcs LIN\n");
  ASSERT_EQ(p.rules.size(), 5u);
  const Rule &byTime = p.rules[0], &prograde = p.rules[1], &tank = p.rules[2];
  EXPECT_EQ(
      std::make_tuple(byTime.line, byTime.vessel, byTime.text, byTime.condition.time),
      std::make_tuple(3, std::string("Stack"), std::string("at 12.5 steer heading -45 pitch time 0:90 100:45"), 12.5));
  const Steering &s = byTime.action.steering;
  EXPECT_TRUE(s.pitch.source == PitchProgram::Source::time && s.pitch.points.size() == 2);
  EXPECT_DOUBLE_EQ(s.heading, -45 * kDeg);
  EXPECT_DOUBLE_EQ(s.pitch.points[1].second, 45 * kDeg);
  EXPECT_DOUBLE_EQ(s.hold.gains[kYaw].kd, AxisGains().kd);
  EXPECT_TRUE(prograde.condition.quantity == Quantity::speed && !prograde.condition.above &&
              prograde.condition.threshold == 10);
  EXPECT_EQ(prograde.action.steering.pitch.source, PitchProgram::Source::prograde);
  EXPECT_DOUBLE_EQ(prograde.action.steering.hold.gains[kYaw].kd, 0.7);
  EXPECT_TRUE(tank.condition.quantity == Quantity::tank && tank.condition.tank == 2 &&
              tank.condition.threshold == 100.5);
  EXPECT_TRUE(tank.action.group == THGROUP_HOVER && tank.action.level == 0.25);
  EXPECT_EQ(p.rules[3].action.kind, Action::Kind::steerOff);
  EXPECT_TRUE(p.rules[4].action.kind == Action::Kind::rcs && p.rules[4].action.rcsMode == RCS_LIN);
}

TEST(pilot_program, every_bad_line_is_reported_at_its_line_and_the_good_ones_are_kept) {
  std::vector<std::string> errors;
  const Program p = pilotProgram(
      "at 0 key B\n"                                        // 1 good
      "at ten key B\n"                                      // 2 time not a number
      "when altitude >= 5 key J\n"                          // 3 bad operator
      "when height > 5 key J\n"                             // 4 unknown quantity
      "at 1 key F13\n"                                      // 5 unknown key
      "at 1 throttle warp 1\n"                              // 6 unknown group
      "at 1 throttle main 1.5\n"                            // 7 level out of range
      "at 1 steer heading 90 pitch time 10:80 5:70\n"       // 8 points descend
      "at 1 steer heading 90 pitch time\n"                  // 9 no points
      "at 1 steer heading 90 pitch 95\n"                    // 10 pitch out of range
      "at 1 input pitchdown\n"                              // 11 level missing
      "at 1 end now\n"                                      // 12 trailing word
      "fly to the moon\n"                                   // 13 no trigger
      "when tank 0.5 < 3 end\n"                             // 14 tank index not whole
      "gains pitch 1\n"                                     // 15 kd missing
      "at 1 rcs sideways\n"                                 // 16 unknown RCS mode
      "at 2 end\n"                                          // 17 good
      "expect event L1 liftoff\n"                           // 18 good
      "expect Sat1 status orbiting\n"                       // 19 unknown status
      "expect Sat1 periapsis >= 1\n"                        // 20 bad operator
      "expect event L1 lift-off\n"                          // 21 unknown kind
      "expect event L1 liftoff after L2\n"                  // 22 no such line above
      "expect event L2 liftoff by 3\n"                      // 23 by without after
      "expect event L2 liftoff at 3 after L1\n"             // 24 at and after
      "expect event L2 liftoff within 1\n"                  // 25 within without timing
      "expect event L2 group-level \"MAIN 1 at 3\n"         // 26 quote not closed
      "expect event L2 liftoff at 3 soon\n"                 // 27 unknown word
      "expect event L1 landed after liftoff\n"              // 28 labels are vessels, not kinds
      "expect event L1 landed after L1 by 100 within 5\n",  // 29 good
      &errors);
  ASSERT_EQ(errors.size(), 25u);
  for (int i = 0; i < 25; ++i) {
    const int line = i < 15 ? i + 2 : i + 4;
    EXPECT_EQ(errors[i].rfind("test.pilot:" + std::to_string(line) + ": ", 0), 0u) << errors[i];
  }
  EXPECT_NE(errors[2].find("\"height\""), std::string::npos);
  EXPECT_NE(errors[14].find("\"sideways\" (one of rot, lin, off)"), std::string::npos);
  EXPECT_NE(errors[15].find("\"orbiting\""), std::string::npos);
  ASSERT_EQ(p.rules.size(), 2u);
  EXPECT_EQ(p.rules[1].line, 17);
  ASSERT_EQ(p.expectations.size(), 2u);
  EXPECT_EQ(p.expectations[1].after, 0);
  errors.clear();
  readProgram("/nonexistent/x.pilot", errors);  // a missing file is one error
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("/nonexistent/x.pilot"), std::string::npos);
}

TEST(pilot_program, key_names_are_the_keyboard_scan_codes) {
  DWORD j = 0, ctrl = 0, code = 0;
  EXPECT_TRUE(keyCode("j", j) && keyCode("0x9D", ctrl));
  EXPECT_EQ(std::vector<DWORD>({j, ctrl}), std::vector<DWORD>({OAPI_KEY_J, OAPI_KEY_RCONTROL}));
  EXPECT_FALSE(keyCode("0x100", code) || keyCode("0x", code));
}

// A probe on the ground and one in a 300 km orbit, flown for two seconds, or
// stopped after one.
TEST(flight_expectations, varnell_fly_reports_each_exits_1_when_one_failed_and_what_a_stop_cut_off_is_not_reached) {
  ScratchTree tree;
  tree.withProbe();
  tree.write("Scenarios/Test/Two.scn",
             "BEGIN_FOCUS\n  Ship Pad\nEND_FOCUS\nBEGIN_SHIPS\n"
             "Pad:Probe\n  STATUS Landed Earth\n  POS 10 20\n  HEADING 90\nEND\n"
             "Sat:Probe\n  STATUS Orbiting Earth\n  ELEMENTS 6671010 0 23.439291000969778 180 180 180 "
             "51544.5\nEND\nEND_SHIPS\n");
  const std::string flight = "at 0.5 key B\nat 2 end\n";
  const std::string met =
      "expect event Pad key \"B 0x30 down\" at 0.5 within 0.01 as press\n"
      "expect Sat periapsis > 290000\n"
      "expect Pad status landed\n"
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
      "expect Sat eccentricity > 0.5\n"
      "expect event Pad key \"J\" at 0.8 within 0.1\n";
  // Each program and how long it flies, the exit status and the count it
  // prints. Stopped short by --until, what was still to come is not reached.
  const std::tuple<std::string, std::string, int, const char *> runs[] = {
      {flight + met, "", 0, "expectations: 5 of 5 met\n"},
      {flight + met + notMet, "", 1, "expectations: 5 of 15 met\n"},
      {flight, "", 0, "expectations: none"},
      {flight + met, "1", 0, "expectations: 1 of 5 met, 4 not reached (lines 4, 5, 6, 7)\n"},
      {flight + met, "5", 0, "expectations: 5 of 5 met\n"},  // ended by its end rule first
      {flight + met + notMet, "1", 1,
       "expectations: 1 of 15 met, 12 not reached (lines 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16)\n"}};
  std::string report, stopped;
  for (const auto &[pilot, until, status, count] : runs) {
    tree.write("Scenarios/Test/Two.pilot", pilot);
    std::vector<std::string> args = {"fly", "Scenarios/Test/Two.scn", "--root", tree.dir()};
    if (!until.empty()) args.insert(args.end(), {"--until", until});
    const Flown f = varnell(args);
    EXPECT_EQ(f.status, status) << f.terminal << f.errors;
    EXPECT_NE(f.terminal.find(count), std::string::npos) << f.terminal;
    if (status == 1) (until.empty() ? report : stopped) = f.terminal;
  }
  for (const char *line : {"  not reached  line 4: expect Sat periapsis > 290000: read at the flight's end, not at "
                           "the stop at 1.00 s\n",
                           "  FAILED  line 10: expect event Pad key after press by 1: came at 0.500 s",
                           "  not reached  line 11: expect event Pad key \"J\": had not come by the stop\n",
                           "  not reached  line 13: expect event Ghost landed after Pad: the event of line 11 was not "
                           "reached\n",
                           "  FAILED  line 17: expect event Pad key \"J\" at 0.8 within 0.1: did not come\n",
                           "the flight was stopped at 1.00 s by --until, before its pilot program's end rule fired\n"})
    EXPECT_NE(stopped.find(line), std::string::npos) << line << "\n" << stopped;
  for (const char *line :
       {"  met     line 3: expect event Pad key \"B 0x30 down\" at 0.5 within 0.01 as press: came at 0.500 s\n",
        "  FAILED  line 8: expect Sat apoapsis < 250000: reads 30",
        "  FAILED  line 9: expect Pad status crashed: is landed\n",
        "  FAILED  line 10: expect event Pad key after press by 1: came at 0.500 s, 0.000 s after that of line 3\n",
        "  FAILED  line 11: expect event Pad key \"J\": did not come\n",
        "  FAILED  line 12: expect Ghost mass > 1: no vessel of that name at the end\n",
        "  FAILED  line 13: expect event Ghost landed after Pad: the event of line 11 did not come\n",
        "  FAILED  line 14: expect event Pad key \"B\" after Ghost: the event of line 13 did not come\n",
        "  FAILED  line 15: expect Sat inclination > 90: reads 0.000 deg\n",
        "  FAILED  line 16: expect Sat eccentricity > 0.5: reads 0.00"})
    EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
}
