// The default mission flown by varnell fly in the built tree, and its
// summary.json read back: every event and every vessel as the flight record
// promises them, the vessels made in flight matching the events that made them.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "sim/runner/program.h"
#include "tests/support/runner.h"
#include "tests/support/tree.h"

using nlohmann::json;

namespace {

void flyDefault(const std::string &out, double dt) {
  sim::runner::FlyOptions o;
  o.root = ".";
  o.outDir = out;
  o.dt = dt;
  const Flown f = fly(o);
  EXPECT_EQ(f.status, sim::runner::kSuccess) << f.terminal << f.errors;
  EXPECT_NE(f.terminal.find("expectations: 14 of 14 met"), std::string::npos) << f.terminal;
}

}  // namespace

TEST(default_mission, meets_its_expectations_and_summarises_every_event_and_vessel) {
  ScratchTree out;
  flyDefault(out.dir(), 0.02);
  const json s = json::parse(out.read("summary.json"));
  EXPECT_EQ(s["scenario"], "Scenarios/Varnell/Launch.scn");
  EXPECT_NEAR(s["sim_time_s"].get<double>(), 1500.02, 1e-9);
  EXPECT_EQ(s["steps"], 75001);

  std::set<std::string> kinds, crashed;
  std::map<std::string, json> created;  // vessel: its creation event
  double last = 0;                      // [s]
  for (const json &e : s["events"]) {
    EXPECT_GE(e["t"].get<double>(), last);
    last = e["t"];
    kinds.insert(e["kind"]);
    if (e["kind"] == "vessel-created") created[e["vessel"]] = e;
    if (e["kind"] == "crashed") crashed.insert(e["vessel"].get<std::string>());
  }
  EXPECT_EQ(s["events"].back()["kind"], "end");
  EXPECT_EQ(kinds, (std::set<std::string>{"pilot", "key", "liftoff", "group-level", "tank-deleted", "vessel-created",
                                          "crashed", "end"}));

  std::set<std::string> names;
  for (const json &v : s["vessels"]) {
    const std::string name = v["name"];
    SCOPED_TRACE(name);
    names.insert(name);
    if (name == "L1") {
      EXPECT_TRUE(v["created_t"].is_null());
      EXPECT_EQ(v["propellant_kg"].size(), 2u);  // the booster's tank went with it
    } else {
      ASSERT_EQ(created.count(name), 1u);
      EXPECT_EQ(v["created_t"], created[name]["t"]);
      EXPECT_EQ(v["class"].get<std::string>() + " by " + v["created_by"].get<std::string>(), created[name]["detail"]);
    }
    EXPECT_EQ(v["status"], crashed.count(name) ? "crashed" : "flight");
    for (const char *key : {"mass_kg", "altitude_m", "speed_m_s", "periapsis_alt_m", "apoapsis_alt_m"})
      EXPECT_TRUE(v[key].is_number()) << key;  // nothing escapes
  }
  EXPECT_EQ(names, (std::set<std::string>{"L1", "L1-SEP", "Varnellplf2", "Varnellplf1", "D1", "Sat2", "Sat1"}));

  // One telemetry row per vessel and second, however the clock's sum rounds.
  std::istringstream telemetry(out.read("telemetry.csv"));
  std::map<std::string, int> rowsOf;
  std::string row;
  for (std::getline(telemetry, row); std::getline(telemetry, row);) {
    const std::string fromVessel = row.substr(row.find(',') + 1);
    ++rowsOf[fromVessel.substr(0, fromVessel.find(','))];
  }
  EXPECT_EQ(rowsOf["L1"], 1501);
  EXPECT_EQ(rowsOf["Sat1"], 1500 - 575);

  // The flight's own final.scn, with the spent booster's levels for a tank it
  // was given in flight, reads back without an error.
  std::ostringstream report;
  EXPECT_EQ(sim::runner::runCheck({out.path("final.scn"), "", "."}, report), sim::runner::kSuccess) << report.str();
}

TEST(default_mission, meets_its_expectations_at_a_step_of_a_tenth_of_a_second_and_refuses_longer_ones) {
  ScratchTree out;
  flyDefault(out.dir(), 0.1);
  for (const char *dt : {"0.5", "0.1001", "0.0009", "nan"}) {
    const char *argv[] = {"varnell", "fly", "--dt", dt, "--out", "never"};
    EXPECT_EQ(sim::runner::programMain(6, const_cast<char **>(argv)), sim::runner::kBadUsage) << dt;
  }
  EXPECT_FALSE(std::filesystem::exists("never"));
}
