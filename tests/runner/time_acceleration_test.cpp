// The default mission at time acceleration: flown on for a day, once at 1000
// from t = 700 s (the satellites are out by then; the spent booster and the
// fairing halves are still falling) and once at 1, the fast flight must end as
// the slow one does, every state finite and the debris down whole. At 25 times
// during the ascent the frame is half a second, and the launcher's steering,
// which acts once per frame, no longer holds the stack: it comes down, whole.
#include <gtest/gtest.h>

#include <iostream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "tests/support/runner.h"
#include "tests/support/tree.h"

using nlohmann::json;

namespace {

// The default pilot program with rules added and its end moved; every vessel's state finite.
json flyDefault(const ScratchTree &tree, const std::string &name, const std::string &rules, double end, int status) {
  std::ostringstream program;
  program << std::ifstream("Scenarios/Varnell/Launch.pilot").rdbuf();
  tree.write(
      name + ".pilot",
      std::regex_replace(program.str(), std::regex("\nat 1500 end"), "\nat " + std::to_string(end) + " end") + rules);
  sim::runner::FlyOptions o = flyOptions(".", "Scenarios/Varnell/Launch.scn", tree.path(name));
  o.pilot = tree.path(name + ".pilot");
  const Flown f = fly(o);
  EXPECT_EQ(f.status, status) << f.terminal << f.errors;
  const json summary = json::parse(tree.read(name + "/summary.json"));
  for (const json &v : summary["vessels"])
    for (const char *key : {"mass_kg", "altitude_m", "speed_m_s", "periapsis_alt_m"})
      EXPECT_TRUE(v[key].is_number()) << name << " " << v["name"] << " " << key;
  return summary;
}

}  // namespace

TEST(time_acceleration, a_day_at_1000_times_ends_as_the_day_at_1_and_debris_comes_down_whole) {
  ScratchTree tree;
  const double day = 86400;  // [s]
  const json fast = flyDefault(tree, "fast", "at 700 timewarp 1000\n", day, sim::runner::kSuccess);
  const json slow = flyDefault(tree, "slow", "", day, sim::runner::kSuccess);
  flyDefault(tree, "ascent", "at 30 timewarp 25\n", 1500, sim::runner::kNotMet);
  // The end rule fires in the first frame that begins at the day, 20 s long at 1000x, and that frame is flown.
  EXPECT_NEAR(fast["sim_time_s"].get<double>(), day + 20, 20);
  ASSERT_EQ(fast["vessels"].size(), slow["vessels"].size());
  for (size_t i = 0; i < fast["vessels"].size(); ++i) {
    const json &f = fast["vessels"][i], &s = slow["vessels"][i];
    const std::string name = f["name"];
    const bool debris = name == "L1-SEP" || name.rfind("Varnellplf", 0) == 0;
    EXPECT_TRUE(!debris || f["status"] == "crashed") << name;
    if (name.rfind("Sat", 0) != 0) continue;
    for (const char *apsis : {"periapsis_alt_m", "apoapsis_alt_m"}) {
      const double difference = f[apsis].get<double>() - s[apsis].get<double>();  // [m]
      std::cout << name << " " << apsis << " at 1000x differs by " << difference << " m\n";
      EXPECT_NEAR(difference, 0, 1000) << name << " " << apsis;
    }
  }
}
