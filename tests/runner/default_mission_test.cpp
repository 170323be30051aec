// The default mission flown by varnell fly in the built tree, and its
// summary.json read back: every event and every vessel as the flight record
// promises them, the vessels made in flight matching the events that made them.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "sim/runner/commands.h"
#include "summary_json.h"
#include "tests/support/tree.h"

TEST(default_mission, meets_its_expectations_and_summarises_every_event_and_vessel) {
  ScratchTree out;
  sim::runner::FlyOptions o;
  o.root = ".";
  o.outDir = out.dir();
  std::ostringstream terminal;
  EXPECT_EQ(sim::runner::runFly(o, terminal, false), 0) << terminal.str();
  EXPECT_NE(terminal.str().find("expectations: 14 of 14 met"), std::string::npos) << terminal.str();
  const std::string s = out.read("summary.json");
  ASSERT_TRUE(wellFormedJson(s));
  EXPECT_EQ(stringOf(s, "scenario"), "Scenarios/Varnell/Launch.scn");
  EXPECT_NEAR(numberOf(s, "sim_time_s"), 1500.02, 1e-9);
  EXPECT_EQ(numberOf(s, "steps"), 75001);
  EXPECT_TRUE(isNumber(valueOf(s, "wall_time_s")));

  std::set<std::string> kinds, crashed;
  std::map<std::string, std::string> created;  // vessel: its creation event's line
  double last = 0;                             // [s]
  for (const std::string &e : elementsOf(s, "events")) {
    EXPECT_GE(numberOf(e, "t"), last);
    last = numberOf(e, "t");
    kinds.insert(stringOf(e, "kind"));
    if (stringOf(e, "kind") == "vessel-created") created[stringOf(e, "vessel")] = e;
    if (stringOf(e, "kind") == "crashed") crashed.insert(stringOf(e, "vessel"));
  }
  EXPECT_EQ(stringOf(elementsOf(s, "events").back(), "kind"), "end");
  for (const char *kind : {"pilot", "key", "liftoff", "group-level", "tank-deleted", "vessel-created", "crashed"})
    EXPECT_EQ(kinds.count(kind), 1u) << kind;

  std::set<std::string> names;
  for (const std::string &v : elementsOf(s, "vessels")) {
    const std::string name = stringOf(v, "name");
    SCOPED_TRACE(name);
    names.insert(name);
    if (name == "L1") {
      EXPECT_EQ(valueOf(v, "created_t"), "null");
      const std::string tanks = valueOf(v, "propellant_kg");
      EXPECT_EQ(std::count(tanks.begin(), tanks.end(), ','), 1) << tanks;  // the booster's tank went with it
    } else {
      ASSERT_EQ(created.count(name), 1u);
      EXPECT_EQ(numberOf(v, "created_t"), numberOf(created[name], "t"));
      EXPECT_EQ(stringOf(v, "class") + " by " + stringOf(v, "created_by"), stringOf(created[name], "detail"));
    }
    EXPECT_EQ(stringOf(v, "status") == "crashed", crashed.count(name) == 1);
    EXPECT_TRUE(stringOf(v, "status") == "flight" || stringOf(v, "status") == "crashed");
    for (const char *key : {"mass_kg", "altitude_m", "speed_m_s", "periapsis_alt_m", "apoapsis_alt_m"})
      EXPECT_TRUE(isNumber(valueOf(v, key))) << key;  // nothing escapes
  }
  EXPECT_EQ(names, (std::set<std::string>{"L1", "L1-SEP", "Varnellplf2", "Varnellplf1", "D1", "Sat2", "Sat1"}));
}
