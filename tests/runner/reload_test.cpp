// Flights carried across loads: a world saved to scenario text, torn down and
// loaded again in flight, and a flight resumed from its folder, each against
// the same flight flown straight through.
#include "sim/runner/reload.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "sim/formats/scenario_handles.h"
#include "sim/formats/text.h"
#include "tests/support/runner.h"
#include "tests/support/tree.h"

using sim::runner::FlyOptions;

namespace {

// The position a saved scenario gives its first orbiting vessel [m].
VECTOR3 savedPosition(const std::string &scenario) {
  VECTOR3 r{NAN, NAN, NAN};
  std::istringstream(scenario.substr(scenario.find("RPOS ") + 5)) >> r.x >> r.y >> r.z;
  return r;
}

// A flight reloaded along the way is compared with the same flight flown
// straight through: a module that saves all of its state agrees, and one that
// leaves a field out of its save (the time its burn has left) is caught, with
// the reload after which the flights parted, the vessel and what differs. A
// flight stopped and carried on from its folder ends as the one flown through,
// its pilot's rules not fired again and its record going on from the stop.
TEST(reload, reloads_and_resuming_carry_a_flight_on_as_if_it_had_not_stopped) {
  ScratchTree tree;
  tree.withFixtureModule();
  tree.write("Config/Vessels/Probe.cfg", "Module = Fixture\n");
  const std::string ship =
      "BEGIN_SHIPS\nP:Probe\n  STATUS Orbiting Earth\n  RPOS 6671010 0 0\n  RVEL 0 0 7729.9\n  PRPLEVEL 0:1\n"
      "  THLEVEL 0:1\n  BURN 30\n";
  tree.write("Scenarios/Test/Burn.scn", ship + "END\nEND_SHIPS\n");
  tree.write("Scenarios/Test/Burn.pilot",
             "at 1 key B\nat 45 throttle main 0.5\nat 20 steer heading 90 pitch 0\nat 60 end\n");
  tree.write("Scenarios/Test/Forgetful.scn", ship + "  NOTE forgetful\nEND\nEND_SHIPS\n");
  tree.write("Scenarios/Test/Forgetful.pilot", "at 60 end\n");
  const FlyOptions burn = flyOptions(tree.dir(), "Scenarios/Test/Burn.scn", tree.path("out"));
  FlyOptions o = burn;
  o.reloadEvery = 20;
  Flown f = fly(o);
  EXPECT_EQ(f.status, sim::runner::kSuccess) << f.terminal << f.errors;
  EXPECT_NE(f.terminal.find("reloaded 3 time(s): the flight agrees"), std::string::npos) << f.terminal;
  f = varnell({"fly", "Scenarios/Test/Forgetful.scn", "--reload-at", "20,40", "--root", tree.dir()});
  EXPECT_EQ(f.status, sim::runner::kNotMet);
  EXPECT_NE(f.terminal.find("differs from the one flown straight through after the reload at 20.00 s, at 40.00 s: "
                            "P position"),
            std::string::npos)
      << f.terminal;

  o = burn;
  o.until = 25;  // the burn under way
  o.outDir = tree.path("first");
  EXPECT_EQ(fly(o).status, sim::runner::kSuccess);
  f = varnell({"fly", "--resume", tree.path("first"), "--out", tree.path("rest"), "--root", tree.dir()});
  EXPECT_EQ(f.status, sim::runner::kSuccess) << f.terminal << f.errors;
  EXPECT_EQ(f.terminal.find("key"), std::string::npos) << "no event before the stop is shown again";
  const std::string events = tree.read("rest/events.csv"), telemetry = tree.read("rest/telemetry.csv");
  EXPECT_EQ(count(events, ",P,key,"), 1u) << events;
  EXPECT_EQ(count(events, ",end,"), 1u) << "the stop is no end of the flight";
  EXPECT_EQ(count(events, "45.0000,P,pilot,line 2"), 1u) << events;
  EXPECT_EQ(count(telemetry, "\n25.0000,P,"), 1u);
  EXPECT_EQ(count(telemetry, "\n26.0000,P,"), 1u);
  const VECTOR3 apart = savedPosition(tree.read("rest/final.scn")) - savedPosition(tree.read("out/final.scn"));
  EXPECT_LT(length(apart), 1e-3);
  // A state file with a line it cannot read, or without the flight's time, stops the resume.
  const std::string state = tree.read("first/flight.state");
  const std::string stateFile = (std::filesystem::path(tree.path("first")) / "flight.state").string();
  const size_t lines = count(state, "\n");
  const std::string missing = ": the flight's time (flight_time) or its date (start_mjd) is missing";
  const std::pair<std::string, std::string> broken[] = {
      {state + "warp 2\n", std::to_string(lines + 1) + ": \"warp\" is no key of the flight's state"},
      {std::string(state).insert(state.find("flight_time"), "# "), std::to_string(lines) + missing}};
  for (const auto &[text, error] : broken) {
    tree.write("first/flight.state", text);
    const Flown bad = varnell({"fly", "--resume", tree.path("first"), "--root", tree.dir()});
    EXPECT_EQ(lastLine(bad.errors), "varnell: error: " + stateFile + ":" + error);
  }
}

// A world carried on in a new one finds the planet turned exactly as it was
// left (a scenario's Date rounds the date to some 0.6 us, 0.3 mm of the
// ground's turn), its flight's clock and record going on and a crash still
// marked. What the person's input adds to a thruster for one frame is no
// setting of it: a save keeps the level a module set.
TEST(reloaded_world, carries_the_date_clock_record_and_crashes_on_exactly) {
  ScratchTree tree;
  tree.withProbe();
  std::unique_ptr<sim::World> w = tree.world();
  w->loadScenarioText("t.scn",
                      "BEGIN_ENVIRONMENT\n  Date MJD 61000.1234567\nEND_ENVIRONMENT\nBEGIN_SHIPS\nP:Probe\n  STATUS "
                      "Landed Earth\n  POS -80.6 28.6\n  HEADING 90\nEND\nEND_SHIPS\n");
  run(*w, 1234);
  w->record().record("P", sim::EventKind::crashed, "at 30 m/s");
  sim::Vessel &p = *w->vessels().front();
  p.crashed = true;
  p.iface->CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 1, nullptr);
  p.thrusters.front().permanent = 0.25;
  p.thrusters.front().level = 0.75;  // with an input of 0.5 this frame
  EXPECT_NE(w->scenarioText().find("THLEVEL 0:0.25\n"), std::string::npos) << w->scenarioText();
  const double planetTime = w->planetTime(), flightTime = w->flightTime();
  w->cockpit().input[THGROUP_ATT_BANKLEFT] = 0.5;  // what the person holds carries on
  w->timeAcceleration = 10;
  w = sim::runner::reloaded(std::move(w), "");
  EXPECT_EQ(w->cockpit().input[THGROUP_ATT_BANKLEFT], 0.5);
  EXPECT_EQ(w->timeAcceleration, 10);
  EXPECT_EQ(w->planetTime(), planetTime);
  EXPECT_EQ(w->flightTime(), flightTime);
  EXPECT_EQ(w->simTime(), 0) << "the simulation time starts again with a load, as in the simulator";
  ASSERT_EQ(w->record().events().size(), 1u);
  EXPECT_TRUE(w->vessels().front()->crashed);
}

// What the flight flown straight through takes at a reload time is what a
// save and a load give, to the last bit: a tumbling vessel's attitude and
// spin, a tank's mass, a landed vessel's place.
TEST(reloaded_world, a_vessel_is_taken_as_saved_and_loaded_to_the_last_bit) {
  ScratchTree tree;
  tree.withProbe("MeshName = Probe\nMass = 1000\nSize = 2\nInertia = 2 2 2\nMaxFuel = 700\n");
  const auto flown = [&tree] {
    std::unique_ptr<sim::World> w = tree.world();
    w->loadScenarioText("t.scn",
                        "BEGIN_SHIPS\nP:Probe\n  STATUS Landed Earth\n  POS -80.6 28.6\n  HEADING 90\nEND\nT:Probe\n  "
                        "STATUS Orbiting Earth\n  RPOS 6671010 0 0\n  RVEL 0 0 7729.9\n  AROT 10 20 30\n  VROT 7 -11 "
                        "13\n  PRPLEVEL 0:1\nEND\nEND_SHIPS\n");
    w->find("T")->tanks.at(0).mass = 0.7;  // 0.7 / 700 * 700 is not 0.7
    w->find("P")->surfLng = -1.40674;      // nor is this through degrees
    run(*w, 321);
    return w;
  };
  const auto bits = [](const sim::Vessel &v) {
    std::string s;
    for (double x : {v.pos.x, v.pos.y, v.pos.z, v.vel.x, v.vel.y, v.vel.z, v.omega.x, v.omega.y, v.omega.z})
      s += sim::exactNumber(x) + " ";
    for (const auto &row : v.rot.m)
      for (double x : row) s += sim::exactNumber(x) + " ";
    return s + sim::exactNumber(v.tanks.at(0).mass);
  };
  std::map<std::string, std::string> loaded;
  std::unique_ptr<sim::World> w = sim::runner::reloaded(flown(), "");
  for (const sim::Vessel *v : w->vessels()) loaded[v->name] = bits(*v);
  w.reset();  // one world at a time
  const std::unique_ptr<sim::World> through = flown();
  for (sim::Vessel *v : through->vessels()) {
    const std::string before = bits(*v);
    sim::asSavedAndLoaded(*through, *v);
    EXPECT_NE(bits(*v), before) << v->name << ": no last bit lost, nothing tested";
    EXPECT_EQ(bits(*v), loaded[v->name]) << v->name;
  }
}

}  // namespace
