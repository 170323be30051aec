// varnell fly end to end on a tree of the test's own: the terminal record and
// the files of --out, read back (the summary with nlohmann-json).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "sim/runner/commands.h"
#include "sim/text.h"
#include "tests/support/tree.h"

using nlohmann::json;
using sim::runner::FlyOptions;

namespace {

// A probe on the ground, one in a 300 km circular orbit, and one escaping,
// whose name needs escaping in JSON and is not UTF-8 (a Latin-1 e acute).
const char kScenario[] =
    "BEGIN_DESC\nThree probes.\nEND_DESC\n"
    "BEGIN_FOCUS\n  Ship Pad\nEND_FOCUS\n"
    "BEGIN_SHIPS\n"
    "Pad:Probe\n  STATUS Landed Earth\n  POS 10 20\n  HEADING 90\nEND\n"
    "Sat:Probe\n  STATUS Orbiting Earth\n  RPOS 6671010 0 0\n  RVEL 0 0 7729.9\nEND\n"
    "Comet\"X\\Y\xe9:Probe\n  STATUS Orbiting Earth\n  RPOS 0 7000000 0\n  RVEL 20000 0 0\nEND\n"
    "END_SHIPS\n";

const char kPilot[] =
    "# press B on the focus vessel, stop after two seconds\nat 0 key B\nat 2 end\n"
    "expect Sat status flight\nexpect Pad status crashed\n";

struct Flown {
  int status;
  std::string terminal, errors;
};

class flight_outputs : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.withProbe();
    tree.write("Scenarios/Test/Hop.scn", kScenario);
    tree.write("Scenarios/Test/Hop.pilot", kPilot);
  }
  Flown fly(FlyOptions o) {
    o.root = tree.dir();
    std::ostringstream out, err;
    const int status = sim::runner::runFly(o, out, err, false);
    return {status, out.str(), err.str()};
  }
  FlyOptions hop() const {
    FlyOptions o;
    o.scenario = "Scenarios/Test/Hop.scn";
    o.outDir = tree.path("out");
    return o;
  }
  ScratchTree tree;
};

std::vector<std::string> rows(const std::string &csv) {
  std::istringstream in(csv);
  std::vector<std::string> out;
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

}  // namespace

TEST_F(flight_outputs, a_flight_writes_a_summary_that_reads_back_as_json_with_every_required_key) {
  const Flown f = fly(hop());
  ASSERT_EQ(f.status, sim::runner::kNotMet) << f.terminal << f.errors;  // the pad probe did not crash

  const json s = json::parse(tree.read("out/summary.json"));
  EXPECT_EQ(s["scenario"], "Scenarios/Test/Hop.scn");
  EXPECT_EQ(s["outcome"], "expectations not met");
  EXPECT_NEAR(s["sim_time_s"].get<double>(), 2.02, 1e-9);  // the step in which the end rule fired is flown
  EXPECT_EQ(s["steps"], 101);
  EXPECT_TRUE(s["wall_time_s"].is_number());
  ASSERT_EQ(s["expectations"].size(), 2u);
  EXPECT_EQ(s["expectations"][0], (json{{"line", 4}, {"text", "expect Sat status flight"}, {"met", true},
                                        {"found", "is flight"}}));
  EXPECT_EQ(s["expectations"][1]["met"], false);

  const json &events = s["events"];
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[0]["kind"], "pilot");
  EXPECT_EQ(events[1]["kind"].get<std::string>() + " " + events[1]["vessel"].get<std::string>(), "key Pad");
  EXPECT_EQ(events.back()["kind"], "end");
  EXPECT_NE(events.back()["detail"].get<std::string>().find("line 3"), std::string::npos);

  const json &vessels = s["vessels"];
  ASSERT_EQ(vessels.size(), 3u);
  const json &pad = vessels[0], &sat = vessels[1], &comet = vessels[2];
  for (const json &v : vessels)
    for (const char *key : {"name", "class", "created_t", "status", "mass_kg", "altitude_m", "speed_m_s",
                            "periapsis_alt_m", "apoapsis_alt_m", "propellant_kg"})
      EXPECT_TRUE(v.contains(key)) << key;
  EXPECT_EQ(pad["status"], "landed");
  EXPECT_TRUE(pad["created_t"].is_null());
  EXPECT_NEAR(sat["apoapsis_alt_m"].get<double>(), 300e3, 2e3);
  EXPECT_NEAR(sat["periapsis_alt_m"].get<double>(), 300e3, 2e3);
  EXPECT_EQ(sat["propellant_kg"], json::array({500}));
  EXPECT_EQ(comet["name"], "Comet\"X\\Y\xef\xbf\xbd");  // the byte that is no UTF-8 shown as U+FFFD
  EXPECT_TRUE(comet["apoapsis_alt_m"].is_null());

  const std::vector<std::string> csv = rows(tree.read("out/events.csv"));
  EXPECT_EQ(csv.front(), "t_s,vessel,kind,detail");
  EXPECT_EQ(csv.size(), 1 + events.size());
  EXPECT_NE(tree.read("out/Varnell.log").find("scenario loaded"), std::string::npos);

  sim::World again(tree.dir(), "");
  ASSERT_TRUE(again.loadScenario(tree.path("out/final.scn")));
  EXPECT_EQ(again.vessels().size(), 3u);
  EXPECT_EQ(again.log().errorCount(), 0);
  EXPECT_NE(f.terminal.find("apoapsis [km]"), std::string::npos);
}

// One row per vessel at each multiple of the interval, whatever the step.
TEST_F(flight_outputs, telemetry_has_one_row_per_vessel_at_each_sample_time) {
  struct Case {
    double dt, sample;
    std::vector<std::string> times;  // of the Sat's rows
  };
  for (const Case &c : {Case{0.02, 1, {"0.0000", "1.0000", "2.0000"}},
                        Case{0.1, 0.5, {"0.0000", "0.5000", "1.0000", "1.5000", "2.0000"}},
                        Case{0.1, 0.05, {}}}) {
    FlyOptions o = hop();
    o.dt = c.dt;
    o.sample = c.sample;
    fly(o);
    const std::vector<std::string> csv = rows(tree.read("out/telemetry.csv"));
    std::vector<std::string> sat;
    for (const std::string &row : csv)
      if (row.find(",Sat,") != std::string::npos) sat.push_back(row.substr(0, row.find(',')));
    if (c.times.empty()) {  // a sample shorter than the step: a row at every step's end, none twice
      EXPECT_EQ(sat.size(), 22u);
      EXPECT_EQ(std::set<std::string>(sat.begin(), sat.end()).size(), sat.size());
    } else
      EXPECT_EQ(sat, c.times) << c.dt << " " << c.sample;
    EXPECT_EQ(csv.size(), 1 + 3 * sat.size());
  }
}

// A spin of 1e300 degrees a second reads as a number, but no integration
// follows it: the flight stops with the vessel as it was read.
TEST_F(flight_outputs, a_vessel_that_diverges_stops_the_flight_and_no_output_holds_a_nan) {
  tree.write("Scenarios/Test/Spin.scn",
             "BEGIN_SHIPS\nCalm:Probe\n  STATUS Orbiting Earth\n  RPOS 6671010 0 0\n  RVEL 0 0 7729.9\nEND\n"
             "Spin:Probe\n  STATUS Orbiting Earth\n  RPOS 0 6671010 0\n  RVEL 7729.9 0 0\n  VROT 1e300 0 0\nEND\n"
             "END_SHIPS\n");
  FlyOptions o = hop();
  o.scenario = "Scenarios/Test/Spin.scn";
  o.until = 10;
  const Flown f = fly(o);
  EXPECT_EQ(f.status, sim::runner::kDiverged);
  EXPECT_NE(f.errors.find("varnell: the flight diverged"), std::string::npos) << f.errors;
  const json s = json::parse(tree.read("out/summary.json"));
  EXPECT_EQ(s["outcome"], "diverged");
  EXPECT_EQ(s["ended_by"], "Spin diverged");
  EXPECT_NEAR(s["sim_time_s"].get<double>(), 0.02, 1e-12);
  EXPECT_NE(tree.read("out/events.csv").find(",Spin,diverged,"), std::string::npos);
  for (const char *file : {"summary.json", "events.csv", "telemetry.csv", "final.scn"})
    EXPECT_EQ(sim::lower(tree.read(std::string("out/") + file)).find("nan"), std::string::npos) << file;
  sim::World again(tree.dir(), "");
  ASSERT_TRUE(again.loadScenario(tree.path("out/final.scn")));
  EXPECT_EQ(again.find("Spin")->pos.y, 6671010);
}

TEST_F(flight_outputs, a_flight_without_a_pilot_stops_at_the_time_limit_and_writes_nothing_unasked) {
  tree.write("Scenarios/Test/Alone.scn", kScenario);
  FlyOptions o;
  o.scenario = "Scenarios/Test/Alone.scn";
  o.until = 1.5;
  o.dt = 0.1;
  const Flown f = fly(o);
  ASSERT_EQ(f.status, sim::runner::kSuccess);
  EXPECT_NE(f.terminal.find("pilot none"), std::string::npos);
  EXPECT_NE(f.terminal.find("time limit 1.5 s"), std::string::npos);
  EXPECT_NE(f.terminal.find("flew 1.50 s"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(tree.path("out")));
}

TEST_F(flight_outputs, a_pilot_program_with_errors_stops_the_flight_before_it_starts) {
  tree.write("Scenarios/Test/Hop.pilot", "at 0 key B\nat soon end\n");
  const Flown f = fly(hop());
  EXPECT_EQ(f.status, sim::runner::kBadInput);
  EXPECT_NE(f.errors.find("varnell: Scenarios/Test/Hop.pilot:2: "), std::string::npos) << f.errors;
  EXPECT_EQ(f.terminal.find("flew"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(tree.path("out")));
}
