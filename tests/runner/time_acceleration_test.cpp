// The default mission flown on for a day, once at time acceleration 1000 from
// t = 700 s (the satellites are out by then; the spent booster and the fairing
// halves are still falling) and once at 1: the fast flight must end as the
// slow one does.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "sim/runner/commands.h"
#include "tests/support/tree.h"

using nlohmann::json;

namespace {

const double kDay = 86400;  // [s]

// The default pilot program, ended after a day, with a time acceleration from t = 700 s.
json flyDay(const ScratchTree &tree, const std::string &name, double warp) {
  std::ostringstream program;
  program << std::ifstream("Scenarios/Varnell/Launch.pilot").rdbuf();
  std::string pilot = std::regex_replace(program.str(), std::regex("\nat 1500 end"), "\nat 86400 end");
  if (warp != 1) pilot += "at 700 timewarp " + std::to_string(warp) + "\n";
  tree.write(name + ".pilot", pilot);
  sim::runner::FlyOptions o;
  o.root = ".";
  o.pilot = tree.path(name + ".pilot");
  o.outDir = tree.path(name);
  std::ostringstream out, err;
  EXPECT_EQ(sim::runner::runFly(o, out, err, false), sim::runner::kSuccess) << out.str() << err.str();
  return json::parse(tree.read(name + "/summary.json"));
}

}  // namespace

TEST(time_acceleration, a_day_at_1000_times_ends_as_the_day_at_1_and_debris_comes_down_whole) {
  ScratchTree tree;
  const json fast = flyDay(tree, "fast", 1000), slow = flyDay(tree, "slow", 1);
  EXPECT_NEAR(fast["sim_time_s"].get<double>(), kDay, 20);
  ASSERT_EQ(fast["vessels"].size(), slow["vessels"].size());
  for (size_t i = 0; i < fast["vessels"].size(); ++i) {
    const json &f = fast["vessels"][i], &s = slow["vessels"][i];
    const std::string name = f["name"];
    SCOPED_TRACE(name);
    for (const char *key : {"mass_kg", "altitude_m", "speed_m_s", "periapsis_alt_m"})
      EXPECT_TRUE(f[key].is_number()) << key;
    if (name == "L1-SEP" || name.rfind("Varnellplf", 0) == 0) {
      EXPECT_EQ(f["status"], "crashed");
    }
    if (name.rfind("Sat", 0) != 0) continue;
    for (const char *apsis : {"periapsis_alt_m", "apoapsis_alt_m"}) {
      const double difference = f[apsis].get<double>() - s[apsis].get<double>();  // [m]
      std::cout << name << " " << apsis << " at 1000x differs by " << difference << " m\n";
      EXPECT_NEAR(difference, 0, 1000) << apsis;
    }
  }
}
