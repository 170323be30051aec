#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "sim/pilot/program.h"
#include "tests/support/pilot.h"

using namespace sim::pilot;

namespace {

const double kDeg = M_PI / 180;  // [rad/deg]

}  // namespace

TEST(pilot_program, every_kind_of_line_is_read_with_its_units) {
  const Program p = pilotProgram(
      "# a whole flight\n"
      "at 0 key B            # start the count\n"
      "vessel Stack\n"
      "at 12.5 steer heading 90 pitch time 0:90 10:80 100:45\n"
      "gains yaw 0.3 0.7\n"
      "actuator 1 1 2 3\n"
      "when altitude > 1e3 steer heading -45 pitch altitude 0:90 30000:30\n"
      "whenever exists Stack-SEP key shift+J\n"
      "when tank 2 < 100.5 throttle hover 0.25\n"
      "when apoapsis > 200000 steer heading 90 prograde\n"
      "when periapsis > 150000 input pitchdown 0.5 bankleft 1\n"
      "when speed < 10 input none\n"
      "at 300 steer off\n"
      "at 301 timewarp 10\n"
      "at 600 end\n");
  ASSERT_EQ(p.rules.size(), 11u);
  EXPECT_TRUE(p.hasEnd());

  const Rule &key = p.rules[0];
  EXPECT_EQ(std::make_tuple(key.line, key.vessel, key.text, key.action.key),
            std::make_tuple(2, std::string(), std::string("at 0 key B"), DWORD(OAPI_KEY_B)));

  const Steering &byTime = p.rules[1].action.steering;
  EXPECT_EQ(p.rules[1].vessel, "Stack");
  EXPECT_DOUBLE_EQ(p.rules[1].condition.time, 12.5);
  EXPECT_DOUBLE_EQ(byTime.heading, 90 * kDeg);
  EXPECT_TRUE(byTime.pitch.source == PitchProgram::Source::time && byTime.pitch.points.size() == 3);
  EXPECT_DOUBLE_EQ(byTime.pitch.points[2].second, 45 * kDeg);
  EXPECT_DOUBLE_EQ(byTime.hold.gains[kYaw].kp, AxisGains().kp);  // gains change later lines only

  const Steering &byAltitude = p.rules[2].action.steering;
  EXPECT_EQ(byAltitude.pitch.source, PitchProgram::Source::altitude);
  EXPECT_DOUBLE_EQ(byAltitude.heading, -45 * kDeg);
  EXPECT_DOUBLE_EQ(byAltitude.hold.gains[kYaw].kd, 0.7);
  EXPECT_DOUBLE_EQ(byAltitude.hold.gains[kPitch].kd, AxisGains().kd);
  EXPECT_DOUBLE_EQ(byAltitude.hold.fullDeflection[kBank], 3);
  EXPECT_TRUE(p.rules[2].condition.above && p.rules[2].condition.threshold == 1000);

  const Rule &sep = p.rules[3], &tank = p.rules[4];
  EXPECT_TRUE(sep.repeat && sep.condition.kind == Condition::Kind::exists && sep.condition.vessel == "Stack-SEP");
  EXPECT_EQ(sep.action.held, std::vector<DWORD>{OAPI_KEY_LSHIFT});
  EXPECT_TRUE(tank.condition.quantity == Quantity::tank && tank.condition.tank == 2 && !tank.condition.above);
  EXPECT_TRUE(tank.action.group == THGROUP_HOVER && tank.action.level == 0.25);

  EXPECT_EQ(p.rules[5].action.steering.pitch.source, PitchProgram::Source::prograde);
  ASSERT_EQ(p.rules[6].action.inputs.size(), 2u);
  EXPECT_EQ(p.rules[6].action.inputs[1].first, THGROUP_ATT_BANKLEFT);
  EXPECT_TRUE(p.rules[7].action.inputs.empty());
  EXPECT_EQ(p.rules[8].action.kind, Action::Kind::steerOff);
  EXPECT_DOUBLE_EQ(p.rules[9].action.factor, 10);
  EXPECT_EQ(p.rules[10].action.kind, Action::Kind::end);
}

TEST(pilot_program, every_bad_line_is_reported_at_its_line_and_the_good_ones_are_kept) {
  std::vector<std::string> errors;
  const Program p = pilotProgram(
      "at 0 key B\n"                                   // 1 good
      "at ten key B\n"                                 // 2 time not a number
      "when altitude >= 5 key J\n"                     // 3 bad operator
      "when height > 5 key J\n"                        // 4 unknown quantity
      "at 1 key F13\n"                                 // 5 unknown key
      "at 1 throttle warp 1\n"                         // 6 unknown group
      "at 1 throttle main 1.5\n"                       // 7 level out of range
      "at 1 steer heading 90 pitch time 10:80 5:70\n"  // 8 points descend
      "at 1 steer heading 90 pitch time\n"             // 9 no points
      "at 1 steer heading 90 pitch 95\n"               // 10 pitch out of range
      "at 1 input pitchdown\n"                         // 11 level missing
      "at 1 end now\n"                                 // 12 trailing word
      "fly to the moon\n"                              // 13 no trigger
      "when tank 0.5 < 3 end\n"                        // 14 tank index not whole
      "gains pitch 1\n"                                // 15 kd missing
      "at 2 end\n",                                    // 16 good
      &errors);
  ASSERT_EQ(errors.size(), 14u);
  for (int line = 2; line <= 15; ++line)
    EXPECT_EQ(errors[line - 2].rfind("test.pilot:" + std::to_string(line) + ": ", 0), 0u) << errors[line - 2];
  EXPECT_NE(errors[2].find("\"height\""), std::string::npos);
  ASSERT_EQ(p.rules.size(), 2u);
  EXPECT_EQ(p.rules[1].line, 16);
}

TEST(pilot_program, a_missing_file_is_one_error) {
  std::vector<std::string> errors;
  readProgram("/nonexistent/x.pilot", errors);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("/nonexistent/x.pilot"), std::string::npos);
}

TEST(pilot_program, key_names_are_the_keyboard_scan_codes) {
  DWORD code = 0;
  EXPECT_TRUE(keyCode("j", code));
  EXPECT_EQ(code, OAPI_KEY_J);
  EXPECT_TRUE(keyCode("0x9D", code));
  EXPECT_EQ(code, OAPI_KEY_RCONTROL);
  EXPECT_FALSE(keyCode("0x100", code));
  EXPECT_FALSE(keyCode("0x", code));
}
