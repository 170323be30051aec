// varnell fly end to end on a tree of the test's own: the terminal record and
// the four output files, read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// Standing on its tail, nose up, as a rocket does.
const std::string kStandingProbe = std::string(kProbeClass) + "TouchdownPoints = 0 1 -2  -1 -1 -2  1 -1 -2\n";

const char kPilot[] = "# press B on the focus vessel, stop after two seconds\nat 0 key B\nat 2 end\n";

// A field of telemetry.csv: the row that begins with "TIME,VESSEL", the column by name.
double field(const std::string &csv, const std::string &row, const std::string &column) {
  std::istringstream in(csv);
  std::string line;
  std::getline(in, line);
  const std::string header = "," + line + ",";
  const auto index = std::count(header.begin(), header.begin() + header.find("," + column + ","), ',');
  while (std::getline(in, line))
    if (line.rfind(row + ",", 0) == 0) {
      std::istringstream fields(line);
      std::string f;
      for (long i = 0; i <= index; ++i) std::getline(fields, f, ',');
      return f.empty() ? NAN : std::atof(f.c_str());
    }
  return NAN;
}

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

// The standing probe's hop under the given pilot program, flown into out/.
FlyOptions hop(ScratchTree &tree, const char *pilot) {
  tree.withProbe(kStandingProbe);
  tree.write("Scenarios/Test/Hop.scn", kScenario);
  tree.write("Scenarios/Test/Hop.pilot", pilot);
  FlyOptions o;
  o.scenario = "Scenarios/Test/Hop.scn";
  o.outDir = tree.path("out");
  return o;
}

}  // namespace

TEST(flight_outputs, a_flight_under_its_pilot_writes_a_summary_that_reads_back_with_every_required_key) {
  ScratchTree tree;
  const FlyOptions o = hop(tree, kPilot);
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

  // What a user needs of the states: where, how fast up, how the air and the
  // engines push, the orbit's elements; worked out here from first principles.
  const sim::physics::Planet earth;
  const double padR = earth.radius + field(telemetry, "2.0000,Pad", "altitude_m"), lat = 20 * M_PI / 180;  // [m], [rad]
  const double w = 2 * M_PI / earth.siderealDay;                                                           // [rad/s]
  EXPECT_NEAR(field(telemetry, "2.0000,Pad", "latitude_deg"), 20, 1e-6);
  EXPECT_NEAR(field(telemetry, "2.0000,Pad", "longitude_deg"), 10, 1e-6);  // turning with the planet
  // On the ground the nose (up) feels gravity, less what holds it to the planet's turn.
  EXPECT_NEAR(field(telemetry, "2.0000,Pad", "axial_accel_g"),
              (earth.gm / (padR * padR) - w * w * padR * std::cos(lat) * std::cos(lat)) / 9.80665, 2e-5);
  EXPECT_EQ(field(telemetry, "2.0000,Pad", "vertical_speed_m_s"), 0);
  EXPECT_NEAR(field(telemetry, "2.0000,Sat", "semi_major_axis_m"), 6671010, 1e3);
  EXPECT_LT(field(telemetry, "2.0000,Sat", "eccentricity"), 1e-3);
  EXPECT_EQ(field(telemetry, "2.0000,Sat", "inclination_deg"), 0);  // eastward along the equator
  EXPECT_EQ(field(telemetry, "2.0000,Sat", "axial_accel_g"), 0);    // falling freely
  EXPECT_LT(field(telemetry, "2.0000,Sat", "dynamic_pressure_pa"), 1e-2);
  EXPECT_EQ(field(telemetry, "2.0000,Sat", "tank0_kg"), 500);
  EXPECT_TRUE(std::isnan(field(telemetry, "2.0000,Sat", "tank1_kg")));
  EXPECT_NEAR(numberOf(sat, "period_s"),
              2 * M_PI * std::sqrt(std::pow(numberOf(sat, "semi_major_axis_m"), 3) / earth.gm), 1e-6);
  EXPECT_NEAR(numberOf(sat, "inclination_deg"), 0, 1e-9);
  EXPECT_EQ(valueOf(comet, "period_s"), "null");
  EXPECT_GT(numberOf(comet, "eccentricity"), 1);
  EXPECT_EQ(valueOf(pad, "created_lat_deg"), "null");
  EXPECT_EQ(valueOf(s, "expectations"), "[]");
  EXPECT_EQ(stringOf(s, "date").size(), 20u) << stringOf(s, "date");  // 2025-03-01T14:05:09Z
  EXPECT_NE(tree.read("out/report.html").find("id=\"flight-data\""), std::string::npos);

  sim::World again(tree.dir(), "");
  ASSERT_TRUE(again.loadScenario(tree.path("out/final.scn")));
  EXPECT_EQ(again.vessels().size(), 3u);
  EXPECT_EQ(again.log().errorCount(), 0);
  EXPECT_NE(f.terminal.find("apoapsis [km]"), std::string::npos);
}

TEST(flight_outputs, a_flight_without_a_pilot_stops_at_the_time_limit_and_writes_nothing_unasked) {
  ScratchTree tree;
  tree.withProbe(kStandingProbe);
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
  const Flown f = fly(tree, hop(tree, "at 0 key B\nat soon end\n"));
  EXPECT_EQ(f.status, 1);
  EXPECT_NE(f.terminal.find("Scenarios/Test/Hop.pilot:2: "), std::string::npos) << f.terminal;
  EXPECT_EQ(f.terminal.find("flew"), std::string::npos);
}

TEST(flight_outputs, an_engine_that_burns_its_tank_dry_shows_in_the_events_and_the_telemetry) {
  ScratchTree tree;
  tree.withFixtureModule();  // 111 kg empty, 50 kg of propellant, two 1000 N engines of 3000 m/s
  tree.write("Config/Vessels/Probe.cfg", "Module = Fixture\n");
  tree.write(
      "Scenarios/Test/Burn.scn",
      "BEGIN_SHIPS\nP:Probe\n  STATUS Orbiting Earth\n  RPOS 6671010 0 0\n  RVEL 0 0 7729.9\n  AROT 30 40 50\nEND\n"
      "END_SHIPS\n");
  // 50 kg at 2 x 1000 N / 3000 m/s last 75 s.
  tree.write("Scenarios/Test/Burn.pilot",
             "at 0 throttle main 1\nat 80 end\nexpect event P tank-dry \"tank 0 (MAIN)\" at 75 within 0.03\n");
  FlyOptions o;
  o.scenario = "Scenarios/Test/Burn.scn";
  o.outDir = tree.path("out");
  const Flown f = fly(tree, o);
  EXPECT_EQ(f.status, 0) << f.terminal;
  const std::string telemetry = tree.read("out/telemetry.csv");
  for (const char *row : {"1.0000,P", "60.0000,P"}) {
    EXPECT_EQ(field(telemetry, row, "thrust_n"), 2000);
    EXPECT_NEAR(field(telemetry, row, "axial_accel_g"), 2000 / field(telemetry, row, "mass_kg") / 9.80665, 1e-5);
  }
  EXPECT_EQ(field(telemetry, "76.0000,P", "thrust_n"), 0);
}

TEST(flight_outputs, a_report_from_a_damaged_record_names_the_file_and_line_and_is_not_written) {
  ScratchTree tree;
  const FlyOptions o = hop(tree, kPilot);
  ASSERT_EQ(fly(tree, o).status, 0);
  struct Damage {
    const char *file, *from, *to, *message;
  } damages[] = {
      {"telemetry.csv", "\n1.0000,Pad,landed,", "\n1.0000,Pad,landed,x", "telemetry.csv:5: altitude_m \"x"},
      {"telemetry.csv", "\n2.0000,Sat,", "\n2.0000,Sat\n", "telemetry.csv:9: 2 fields where the header has"},
      {"events.csv", "\n", "\n\"Pad,", "events.csv:2: a quote opened here is not closed"},
      {"summary.json", "\"scenario\":", "\"scenario\"",
       "summary.json: [json.exception.parse_error.101] parse error at line 2"},
  };
  for (const Damage &d : damages) {
    SCOPED_TRACE(d.message);
    std::filesystem::remove_all(tree.path("bad"));
    std::filesystem::copy(tree.path("out"), tree.path("bad"));
    std::filesystem::remove(tree.path("bad/report.html"));
    std::string text = tree.read(std::string("out/") + d.file);
    text.replace(text.find(d.from), std::string(d.from).size(), d.to);
    tree.write(std::string("bad/") + d.file, text);
    std::ostringstream out;
    try {
      sim::runner::runReport({tree.path("bad")}, out);
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error &e) {
      EXPECT_NE(std::string(e.what()).find(d.message), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(tree.path("bad/report.html")));
  }
  std::ostringstream out;
  EXPECT_EQ(sim::runner::runReport({tree.path("out")}, out), 0);
  EXPECT_NE(out.str().find("report.html ("), std::string::npos) << out.str();
}
