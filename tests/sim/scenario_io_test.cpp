// Scenario files: reading, saving through each vessel's own save path, and
// reading the saved file back to the same world; blocks left open. (Each bad
// value at its file and line: scenario_check_test; inputs on which the fuzz
// targets found the host at fault are seeds of their corpus in fuzz/corpus/.)
#include <gtest/gtest.h>

#include "sim/physics/planet/planet.h"
#include "sim/world/world.h"
#include "tests/support/tree.h"

namespace {

const char kScenario[] =
    "BEGIN_DESC\nTwo vessels.\nEND_DESC\n\n"
    "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 61000.5\nEND_ENVIRONMENT\n\n"
    "BEGIN_FOCUS\n  Ship P1\nEND_FOCUS\n\n"
    "BEGIN_SHIPS\n"
    "P1:Probe\n"
    "  status landed earth\n"
    "\tPOS -80.604 28.6083   ; the pad\n"
    "  HEADING 90\n"
    "  PRPLEVEL 0:0.25\n"
    "  THLEVEL 1:0.5\n"
    "  NOTE hello   \n"
    "END\n"
    "O1:Plain\n"
    "  STATUS Orbiting Earth\n"
    "  RPOS 6771000 12.5 -3\n"
    "  RVEL 0.5 1.25 7700\n"
    "  AROT 10 -20 30\n"
    "  VROT 1 2 3\n"
    "  CUSTOM 1 2\n"
    "  rcsmode 2\n"
    "  PRPLEVEL 0:0.125\n"
    "END\n"
    "END_SHIPS\n";

void expectSameState(const sim::Vessel &a, const sim::Vessel &b) {
  EXPECT_EQ(a.name + ":" + a.className + (a.landed ? " landed " : " ") + std::to_string(a.attitudeMode),
            b.name + ":" + b.className + (b.landed ? " landed " : " ") + std::to_string(b.attitudeMode));
  EXPECT_NEAR(length(a.pos - b.pos), 0, 1e-6);
  EXPECT_NEAR(length(a.vel - b.vel), 0, 1e-9);
  EXPECT_NEAR(length(a.omega - b.omega), 0, 1e-12);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(length(a.rot.column(c) - b.rot.column(c)), 0, 1e-12);
  ASSERT_EQ(a.tanks.size(), b.tanks.size());
  for (size_t i = 0; i < a.tanks.size(); ++i) EXPECT_NEAR(a.tanks[i].mass, b.tanks[i].mass, 1e-12);
  ASSERT_EQ(a.thrusters.size(), b.thrusters.size());
  for (size_t i = 0; i < a.thrusters.size(); ++i) EXPECT_EQ(a.thrusters[i].level, b.thrusters[i].level);
}

// A tree with the scenario above, its probe flown by the host's test module.
struct TwoVessels : ScratchTree {
  TwoVessels() {
    write("Config/Vessels/Probe.cfg", "Module = Fixture\n");
    write("Config/Vessels/Plain.cfg", "Mass = 10\nMaxFuel = 80\n");
    write("Scenarios/Two.scn", kScenario);
    withFixtureModule();
  }
};

}  // namespace

TEST(scenario_io, a_scenario_reads_its_blocks_and_each_vessel_its_default_state) {
  const TwoVessels root;
  sim::World w(root.dir(), "");
  ASSERT_TRUE(w.loadScenario(root.path("Scenarios/Two.scn")));
  EXPECT_EQ(w.log().errorCount(), 0);
  EXPECT_EQ(w.scenarioDescription + " " + w.focusVessel, "Two vessels. P1");
  EXPECT_EQ(w.mjd, 61000.5);
  ASSERT_EQ(w.vessels().size(), 2u);
  const sim::Vessel &p = *w.vessels()[0], &o = *w.vessels()[1];
  EXPECT_TRUE(p.landed && !o.landed && p.createdAt < 0);
  EXPECT_EQ(std::vector<int>({p.attitudeMode, o.attitudeMode}), std::vector<int>({RCS_ROT, RCS_LIN}));
  EXPECT_NEAR(p.surfLng, -80.604 * M_PI / 180, 1e-15);
  EXPECT_NEAR(p.surfHeading, M_PI / 2, 1e-15);
  EXPECT_NEAR(o.omega.z, 3 * M_PI / 180, 1e-15);
  // Levels apply to what the module built, all of it off and empty first, as
  // the simulator's load resets fuel and thrust (VS_FUELRESET, VS_THRUSTRESET);
  // then, as its Vessel::Setup, an inertia nobody gave follows from the size.
  EXPECT_EQ(std::vector<double>({p.tanks[0].mass, p.thrusters[0].level, p.thrusters[1].level, o.pos.y, o.vel.z,
                                 o.tanks[0].mass, o.pmi.z}),
            std::vector<double>({12.5, 0, 0.5, 12.5, 7700, 10, 10}));
  ASSERT_EQ(w.unknownLines(o).size(), 1u);
  EXPECT_EQ(w.unknownLines(o)[0].text, "CUSTOM 1 2");
}

TEST(scenario_io, a_saved_scenario_reads_back_to_the_same_vessels_and_state) {
  const TwoVessels root;
  auto first = std::make_unique<sim::World>(root.dir(), "");
  first->loadScenario(root.path("Scenarios/Two.scn"));
  first->vessels()[1]->omega = _V(0.1, 1.0 / 3, -1e-7);  // numbers that need every digit
  ASSERT_TRUE(first->saveScenario(root.path("Saved.scn")));
  const std::string saved = root.read("Saved.scn");
  for (const char *part : {"P1:Probe\n  STATUS Landed Earth\n", "  THLEVEL 1:0.5\n", "  NOTE hello\nEND\n"})
    EXPECT_NE(saved.find(part), std::string::npos) << part;
  // Vessel::WriteDefault: RCSMODE only when not rotation, after the state and before the levels.
  EXPECT_EQ(saved.find("RCSMODE"), saved.rfind("RCSMODE"));
  EXPECT_NE(saved.find("  RCSMODE 2\n  PRPLEVEL 0:0.125\n"), std::string::npos) << saved;

  std::vector<sim::Vessel> before;
  for (const sim::Vessel *v : first->vessels()) before.push_back(*v);
  first.reset();
  sim::World second(root.dir(), "");
  ASSERT_TRUE(second.loadScenario(root.path("Saved.scn")));
  EXPECT_EQ(second.log().errorCount(), 0);
  EXPECT_EQ(second.focusVessel, "P1");
  ASSERT_EQ(second.vessels().size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) expectSameState(before[i], *second.vessels()[i]);
}

// The saved date carries the planet's turn: a vessel in flight is over the same
// ground after a reload as before it, however long the first world had run.
TEST(scenario_io, a_reload_finds_the_planet_turned_as_it_was_left) {
  const TwoVessels root;
  auto surfaceOf = [](const sim::World &w, const sim::Vessel &v) {
    double lng = 0, lat = 0, alt = 0;
    sim::physics::toSurface(w.planet, v.pos, w.planetTime(), lng, lat, alt);
    return _V(lng, lat, alt);
  };
  auto first = std::make_unique<sim::World>(root.dir(), "");
  first->loadScenario(root.path("Scenarios/Two.scn"));
  for (int i = 0; i < 5000; ++i) first->step();  // 100 s
  const VECTOR3 before = surfaceOf(*first, *first->find("O1"));
  ASSERT_TRUE(first->saveScenario(root.path("Saved.scn")));
  first.reset();

  sim::World second(root.dir(), "");
  ASSERT_TRUE(second.loadScenario(root.path("Saved.scn")));
  const VECTOR3 after = surfaceOf(second, *second.find("O1"));
  EXPECT_NEAR(after.x, before.x, 1e-9);  // [rad]
  EXPECT_NEAR(after.y, before.y, 1e-9);
}

TEST(scenario_io, unclosed_blocks_are_reported_where_they_begin) {
  ScratchTree root;
  root.write("Config/Vessels/Plain.cfg", "Mass = 10\n");
  root.write("Open.scn", "BEGIN_DESC\nnever closed\nBEGIN_SHIPS\nA:Plain\nEND\n");
  root.write("Ships.scn", "BEGIN_SHIPS\nnot a vessel\nA:Plain\nEND\n");
  sim::World w(root.dir(), "");
  w.loadScenario(root.path("Open.scn"));
  EXPECT_TRUE(w.log().contains(root.path("Open.scn") + ":1: block has no END_DESC"));
  w.loadScenario(root.path("Ships.scn"));
  EXPECT_TRUE(w.log().contains(root.path("Ships.scn") + ":2:"));
  EXPECT_TRUE(w.log().contains(root.path("Ships.scn") + ":1: BEGIN_SHIPS has no END_SHIPS"));
  EXPECT_EQ(w.vessels().size(), 1u);
}
