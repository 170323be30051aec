// varnell fly end to end on a tree of the test's own: the terminal record and
// the four output files, read back.
#include <gtest/gtest.h>

#include <sstream>

#include "sim/runner/commands.h"
#include "summary_json.h"
#include "tests/support/tree.h"

using sim::runner::FlyOptions;
using sim::runner::runFly;

namespace {

// A probe on the ground, one in a 300 km circular orbit, and one escaping,
// whose name needs escaping in JSON too.
const char kScenario[] =
    "BEGIN_DESC\nThree probes.\nEND_DESC\n"
    "BEGIN_FOCUS\n  Ship Pad\nEND_FOCUS\n"
    "BEGIN_SHIPS\n"
    "Pad:Probe\n  STATUS Landed Earth\n  POS 10 20\n  HEADING 90\nEND\n"
    "Sat:Probe\n  STATUS Orbiting Earth\n  RPOS 6671010 0 0\n  RVEL 0 0 7729.9\nEND\n"
    "Comet\"X\\Y:Probe\n  STATUS Orbiting Earth\n  RPOS 0 7000000 0\n  RVEL 20000 0 0\nEND\n"
    "END_SHIPS\n";

const char kPilot[] = "# press B on the focus vessel, stop after two seconds\nat 0 key B\nat 2 end\n";

int countLines(const std::string &text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

struct Flown {
  int status;
  std::string terminal;
};

Flown fly(const ScratchTree &tree, FlyOptions o) {
  o.root = tree.dir();
  std::ostringstream out;
  const int status = runFly(o, out, false);
  return {status, out.str()};
}

}  // namespace

TEST(flight_outputs, a_flight_under_its_pilot_writes_a_summary_that_reads_back_with_every_required_key) {
  ScratchTree tree;
  tree.withProbe();
  tree.write("Scenarios/Test/Hop.scn", kScenario);
  tree.write("Scenarios/Test/Hop.pilot", kPilot);
  FlyOptions o;
  o.scenario = "Scenarios/Test/Hop.scn";
  o.outDir = tree.path("out");
  const Flown f = fly(tree, o);
  ASSERT_EQ(f.status, 0) << f.terminal;

  const std::string s = tree.read("out/summary.json");
  ASSERT_TRUE(wellFormedJson(s)) << s;
  EXPECT_EQ(stringOf(s, "scenario"), "Scenarios/Test/Hop.scn");
  EXPECT_NEAR(numberOf(s, "sim_time_s"), 2.02, 1e-9);  // the step in which the end rule fired is flown
  EXPECT_EQ(numberOf(s, "steps"), 101);
  EXPECT_TRUE(isNumber(valueOf(s, "wall_time_s")));

  const std::vector<std::string> events = elementsOf(s, "events");
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(stringOf(events[0], "kind"), "pilot");
  EXPECT_EQ(stringOf(events[1], "kind") + " " + stringOf(events[1], "vessel"), "key Pad");
  EXPECT_EQ(stringOf(events.back(), "kind"), "end");
  EXPECT_NE(stringOf(events.back(), "detail").find("line 3"), std::string::npos);
  for (const std::string &e : events)
    for (const char *key : {"t", "vessel", "kind", "detail"}) EXPECT_NE(valueOf(e, key), "") << key;

  const std::vector<std::string> vessels = elementsOf(s, "vessels");
  ASSERT_EQ(vessels.size(), 3u);
  const std::string &pad = vessels[0], &sat = vessels[1], &comet = vessels[2];
  for (const std::string &v : vessels)
    for (const char *key : {"name", "class", "created_t", "status", "mass_kg", "altitude_m", "speed_m_s",
                            "periapsis_alt_m", "apoapsis_alt_m", "propellant_kg"})
      EXPECT_NE(valueOf(v, key), "") << key;
  EXPECT_EQ(stringOf(pad, "status"), "landed");
  EXPECT_EQ(valueOf(pad, "created_t"), "null");
  EXPECT_EQ(stringOf(sat, "status"), "flight");
  EXPECT_NEAR(numberOf(sat, "apoapsis_alt_m"), 300e3, 2e3);
  EXPECT_NEAR(numberOf(sat, "periapsis_alt_m"), 300e3, 2e3);
  EXPECT_EQ(valueOf(comet, "name"), "\"Comet\\\"X\\\\Y\"");
  EXPECT_EQ(valueOf(comet, "apoapsis_alt_m"), "null");
  EXPECT_TRUE(isNumber(valueOf(comet, "periapsis_alt_m")));
  EXPECT_EQ(valueOf(sat, "propellant_kg"), "[500]");
  EXPECT_EQ(numberOf(sat, "mass_kg"), 1500);

  const std::string csv = tree.read("out/events.csv");
  EXPECT_EQ(csv.rfind("t_s,vessel,kind,detail\n", 0), 0u);
  EXPECT_EQ(countLines(csv), 1 + static_cast<int>(events.size()));
  // One row per vessel at 0, 1 and 2 s; a name with a quote in it is quoted.
  const std::string telemetry = tree.read("out/telemetry.csv");
  EXPECT_EQ(countLines(telemetry), 1 + 3 * 3);
  EXPECT_NE(telemetry.find("\n2.0000,\"Comet\"\"X\\Y\",flight,"), std::string::npos) << telemetry;

  sim::World again(tree.dir(), "");
  ASSERT_TRUE(again.loadScenario(tree.path("out/final.scn")));
  EXPECT_EQ(again.vessels().size(), 3u);
  EXPECT_EQ(again.log().errorCount(), 0);
  EXPECT_NE(f.terminal.find("apoapsis [km]"), std::string::npos);
}

TEST(flight_outputs, a_flight_without_a_pilot_stops_at_the_time_limit_and_writes_nothing_unasked) {
  ScratchTree tree;
  tree.withProbe();
  tree.write("Scenarios/Test/Alone.scn", kScenario);
  FlyOptions o;
  o.scenario = "Scenarios/Test/Alone.scn";
  o.until = 1.5;
  o.dt = 0.1;
  const Flown f = fly(tree, o);
  ASSERT_EQ(f.status, 0);
  EXPECT_NE(f.terminal.find("pilot none"), std::string::npos);
  EXPECT_NE(f.terminal.find("time limit 1.5 s"), std::string::npos);
  EXPECT_NE(f.terminal.find("flew 1.50 s"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(tree.path("out")));
}

TEST(flight_outputs, a_pilot_program_with_errors_stops_the_flight_before_it_starts) {
  ScratchTree tree;
  tree.withProbe();
  tree.write("Scenarios/Test/Hop.scn", kScenario);
  tree.write("Scenarios/Test/Hop.pilot", "at 0 key B\nat soon end\n");
  FlyOptions o;
  o.scenario = "Scenarios/Test/Hop.scn";
  const Flown f = fly(tree, o);
  EXPECT_EQ(f.status, 1);
  EXPECT_NE(f.terminal.find("Scenarios/Test/Hop.pilot:2: "), std::string::npos) << f.terminal;
  EXPECT_EQ(f.terminal.find("flew"), std::string::npos);
}
