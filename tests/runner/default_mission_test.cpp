// The default mission flown by varnell fly in the built tree, and its
// summary.json read back: every event and every vessel as the flight record
// promises them, the vessels made in flight matching the events that made them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "json_reader.h"
#include "sim/runner/commands.h"
#include "tests/scratch_dir.h"

using runner_test::Json;

namespace {

Json flyDefaultMission(std::string &terminal, int &status) {
  const std::string out = makeScratchDir("varnell-mission-");
  sim::runner::FlyOptions o;
  o.root = ".";
  o.outDir = out;
  std::ostringstream text;
  status = sim::runner::runFly(o, text, false);
  terminal = text.str();
  std::ostringstream summary;
  summary << std::ifstream(out + "/summary.json").rdbuf();
  std::filesystem::remove_all(out);
  return runner_test::JsonReader::parse(summary.str());
}

}  // namespace

TEST(default_mission, meets_its_expectations_and_summarises_every_event_and_vessel) {
  std::string terminal;
  int status = -1;
  const Json s = flyDefaultMission(terminal, status);
  EXPECT_EQ(status, 0) << terminal;
  EXPECT_NE(terminal.find("expectations: 14 of 14 met"), std::string::npos) << terminal;
  EXPECT_EQ(s["scenario"].string, "Scenarios/Varnell/Launch.scn");
  EXPECT_NEAR(s["sim_time_s"].number, 1500.02, 1e-9);
  EXPECT_EQ(s["steps"].number, 75001);
  EXPECT_EQ(s["wall_time_s"].type, Json::Type::number);

  std::set<std::string> kinds;
  std::map<std::string, const Json *> created, crashed;  // by vessel
  double last = 0;                                       // [s]
  for (const Json &e : s["events"].array) {
    EXPECT_GE(e["t"].number, last);
    last = e["t"].number;
    for (const char *key : {"vessel", "kind", "detail"}) EXPECT_EQ(e[key].type, Json::Type::string) << key;
    kinds.insert(e["kind"].string);
    if (e["kind"].string == "vessel-created") created[e["vessel"].string] = &e;
    if (e["kind"].string == "crashed") crashed[e["vessel"].string] = &e;
  }
  EXPECT_EQ(s["events"].array.back()["kind"].string, "end");
  for (const char *kind : {"pilot", "key", "liftoff", "group-level", "tank-deleted", "vessel-created", "crashed"})
    EXPECT_EQ(kinds.count(kind), 1u) << kind;

  const std::set<std::string> madeInFlight = {"L1-SEP", "Varnellplf2", "Varnellplf1", "D1", "Sat2", "Sat1"};
  std::set<std::string> names;
  for (const Json &v : s["vessels"].array) {
    const std::string name = v["name"].string;
    SCOPED_TRACE(name);
    names.insert(name);
    if (name == "L1") {
      EXPECT_EQ(v["created_t"].type, Json::Type::null);
    } else {
      ASSERT_EQ(created.count(name), 1u);
      const Json &e = *created[name];
      EXPECT_EQ(v["created_t"].number, e["t"].number);
      EXPECT_EQ(v["class"].string + " by " + v["created_by"].string, e["detail"].string);
    }
    EXPECT_EQ(v["status"].string == "crashed", crashed.count(name) == 1);
    EXPECT_TRUE(v["status"].string == "flight" || v["status"].string == "crashed");
    for (const char *key : {"mass_kg", "altitude_m", "speed_m_s", "periapsis_alt_m"})
      EXPECT_EQ(v[key].type, Json::Type::number) << key;
    EXPECT_EQ(v["apoapsis_alt_m"].type, Json::Type::number);  // nothing escapes
    EXPECT_EQ(v["propellant_kg"].type, Json::Type::array);
  }
  names.erase("L1");
  EXPECT_EQ(names, madeInFlight);
  EXPECT_EQ(s["vessels"][0]["propellant_kg"].array.size(), 2u);  // the booster's tank went with it
}
