// The soak flight: twenty launchers on neighbouring pads with nested
// manifests, launched at staggered times, staging, dropping their fairings and
// releasing every dispenser and satellite, while the whole world is saved,
// destroyed and rebuilt from the saved scenario every 100 s of flight. The
// flight is flown once for all the checks below; the sanitizer build's leak
// check covers its teardown.
//
// A launcher comes back from a load with its timeline as it was saved (MET,
// the launch command, the stage timer and the airspeed sampler), so a count
// goes on and an upper stage drops its fairing 32.5 s after staging, reloads
// or not. The pilot presses B on a launcher still on the pad after its launch
// time (landed, or on its springs once its booster has begun to push) that
// has not had it in the flight, whose record the reloads carry on.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/physics/planet/ground.h"
#include "sim/runner/reload.h"
#include "tests/support/launcher.h"

namespace {

const int kLaunchers = 20;
const char kDispenser[] = "Varnell\\Dispenser", kSat[] = "Varnell\\Sat", kBooster[] = "Varnell\\Varnellstg0";
const double kDt = 0.1;              // coarse, to keep the wall time short [s]
const double kReloadInterval = 100;  // of flight time [s]
// The last launcher starts its count at 135 s, stages about 227 s later and
// drops its fairing 32.5 s after that; with a release every 10 s its last
// satellite is out by 450 s [s].
const double kFlightEnd = 500;
const double kReleaseInterval = 10;  // between J presses on one carrier [s]

// One manifest line: a stage is a dispenser, a payload a satellite; names get
// the launcher's prefix; no name: a closing line. Offsets [m], mass [kg], turn [deg].
struct ShapeLine {
  const char *name;
  double x, y, z, mass, angle;
};
// Every way a release takes a manifest apart: a top-level satellite alone, a
// stage within a stage beside a satellite; three deep, each dispenser the first
// entry of the one around it; and a dispenser whose last member is a dispenser.
// clang-format off
const std::vector<ShapeLine> kShapes[] = {
    {{"D1", 0, 0, 25.0, 450, 0}, {"D2", 0, 0, 25.8, 450, 0}, {"S1", 0.8, 0, 26.6, 600, 0}, {"S2", -0.8, 0, 26.6, 600, 30},
     {}, {"S3", 0, 0.8, 27.6, 600, 90}, {}, {"S4", 0, 0, 29.0, 300, 0}},
    {{"D1", 0, 0, 25.0, 450, 0}, {"D2", 0, 0, 25.6, 450, 0}, {"D3", 0, 0, 26.2, 450, 0}, {"S1", 0, 0, 27.0, 600, 0},
     {}, {"S2", 1.0, 0, 27.6, 600, 45}, {}, {}, {"S3", 0, -1.0, 28.5, 300, 0}},
    {{"D1", 0, 0, 25.0, 450, 0}, {"S1", 0.9, 0, 25.8, 600, 0}, {"S2", -0.9, 0, 25.8, 600, 0}, {"D2", 0, 0, 26.8, 450, 0},
     {"S3", 0.7, 0, 27.6, 500, 0}, {"S4", -0.7, 0, 27.6, 500, -20}, {}, {}},
};
// clang-format on
const std::vector<ShapeLine> &shapeOf(int k) { return kShapes[k % 3]; }
std::string launcherName(int k) { return (k < 9 ? "L0" : "L") + std::to_string(k + 1); }
const char *classOf(const ShapeLine &l) { return l.name[0] == 'D' ? kDispenser : kSat; }
double launchTime(int k) { return 2 + 7 * k; }  // [s]

std::string fleetScenario() {
  std::string text = "BEGIN_SHIPS\n";
  for (int k = 0; k < kLaunchers; ++k) {
    char line[256];
    std::snprintf(line, sizeof line, "%s:Varnell\n  STATUS Landed Earth\n  POS %.4f 28.6083\n  HEADING 90\n",
                  launcherName(k).c_str(), -80.604 + 0.01 * k);
    text += line + std::string("  PRPLEVEL 0:1 1:1 2:1\n  CONFIGURATION 0\n  FAIRING 1\n");
    for (const ShapeLine &l : shapeOf(k)) {
      // Each launcher's satellites get their own share of fuel, so that a tank mixed up with another's shows.
      if (l.name)
        std::snprintf(line, sizeof line, "  %s %s-%s %s %s %.2f %.2f %.2f %.2f %.2f %.2f\n",
                      classOf(l) == kDispenser ? "STAGE" : "PAYLOAD", launcherName(k).c_str(), l.name, classOf(l),
                      classOf(l), l.x, l.y, l.z, l.mass, l.angle, 0.2 + 0.04 * k);
      text += l.name ? line : "  ENDSTAGE\n";
    }
    text += "END\n";
  }
  return text + "END_SHIPS\n";
}

bool isLauncher(const sim::Vessel &v) { return v.className == "Varnell"; }
bool isCarrier(const sim::Vessel &v) { return isLauncher(v) || v.className == kDispenser; }
// Beside a carrier's own one mesh, every further mesh is a payload.
bool carriesPayloads(const sim::Vessel &v) { return isCarrier(v) && usedMeshes(v) > 1; }
// B pressed on the launcher in the flight: the count runs.
bool counting(const sim::World &w, const sim::Vessel &v) {
  for (const sim::Event &e : w.record().events())
    if (e.vessel == v.name && e.kind == sim::EventKind::key && e.detail == "B 0x30 down") return true;
  return false;
}

// Standing on the pad, or on its springs there once its booster has begun to push.
bool onPad(const sim::World &w, const sim::Vessel &v) {
  return v.landed || sim::physics::lowestPoint(v, w.planet) < 0.5;
}

// Where a carrier is in its flight, so that a record shows which phases the reloads cut through.
const char *phaseOf(sim::World &w, const sim::Vessel &v) {
  if (!isCarrier(v)) return nullptr;
  if (!isLauncher(v) && v.createdAt == w.simTime()) return "dispenser released in the last step";
  if (!isLauncher(v)) return carriesPayloads(v) ? "dispenser with payloads" : "empty dispenser";
  if (configurationOf(v) == 0) return !onPad(w, v) ? "booster burning" : counting(w, v) ? "counting" : "waiting";
  if (fairingOn(w, v)) return "upper stage with fairing";
  return carriesPayloads(v) ? "upper stage releasing" : "upper stage empty";
}

std::unique_ptr<sim::World> newWorld(const std::string &path) {
  auto w = std::make_unique<sim::World>(".", "");  // the log stays in memory, for the record
  w->dt = kDt;
  EXPECT_TRUE(w->loadScenario(path)) << path;
  return w;
}
int count(const sim::World &w, const std::string &what) {
  int n = 0;
  for (const sim::Vessel *v : w.vessels()) n += v->name == what || v->className == what;
  return n;
}

// The world saved, destroyed and rebuilt from the saved text as varnell fly
// --reload-every does it, and the vessels compared across the reload as it
// compares two flights. A spent booster's class defines no tank: the
// separation tank and thrusters the launcher gave it are not part of its
// class, so a load, like the simulator's, builds it without them (and lighter
// by the tank's leftover), and the host logs the saved levels it has nowhere to put.
sim::runner::Checkpoint withoutBoosters(sim::runner::Checkpoint c) {
  c.vessels.erase(std::remove_if(c.vessels.begin(), c.vessels.end(),
                                 [](const sim::runner::VesselState &v) { return v.name.find("-SEP") != v.name.npos; }),
                  c.vessels.end());
  return c;
}

void reload(std::unique_ptr<sim::World> &world, std::map<std::string, int> &phases) {
  for (sim::Vessel *v : world->vessels())
    if (const char *phase = phaseOf(*world, *v)) ++phases[phase];
  const sim::runner::Checkpoint saved = sim::runner::checkpointOf(*world);
  world = sim::runner::reloaded(std::move(world), "");
  for (const std::string &e : world->log().lines())
    EXPECT_TRUE(e.rfind("ERROR", 0) != 0 || e.find("-SEP has no tank ") != e.npos ||
                e.find("-SEP has no thruster ") != e.npos)
        << e;
  const sim::runner::Checkpoint loaded = sim::runner::checkpointOf(*world);
  EXPECT_EQ(loaded.vessels.size(), saved.vessels.size());
  for (const sim::Vessel *v : world->vessels())
    if (v->className == kBooster) EXPECT_TRUE(v->tanks.empty()) << v->name;
  EXPECT_EQ(sim::runner::firstDifference(withoutBoosters(saved), withoutBoosters(loaded), {}), "");
}

// Flight time is counted here: every load starts the world's clock at 0. In
// the end every launcher has staged, dropped its fairing and released
// everything: launchers, spent boosters, two fairing halves each and the
// payloads are there once each; and the reloads have cut through every phase
// of the flight (a change of timings that lets them miss one leaves it untried).
TEST(soak_flight, a_fleet_flown_through_reloads_ends_with_everything_released_once) {
  const auto start = std::chrono::steady_clock::now();
  const ScratchTree dir;
  dir.write("Fleet.scn", fleetScenario());
  std::unique_ptr<sim::World> world = newWorld(dir.path("Fleet.scn"));
  EXPECT_EQ(world->log().errorCount(), 0);
  std::map<std::string, int> phases;  // vessels in each phase at the saves
  const long perReload = std::lround(kReloadInterval / kDt), steps = std::lround(kFlightEnd / kDt);
  for (long n = 1; n <= steps; ++n) {
    const double t = (n - 1) * kDt;  // [s]
    // In the last step before a save every carrier that can release does:
    // the stages it releases are saved before their first step.
    const bool release =
        n % perReload == 0 || std::floor(t / kReleaseInterval) != std::floor((n - 2) * kDt / kReleaseInterval);
    const std::vector<sim::Vessel *> vessels = world->vessels();  // a key press may create vessels
    for (sim::Vessel *v : vessels) {
      const int k = isLauncher(*v) ? std::stoi(v->name.substr(1)) - 1 : -1;
      if (k >= 0 && t >= launchTime(k) && configurationOf(*v) == 0 && onPad(*world, *v) && !counting(*world, *v))
        world->cockpit().pressKey(v, OAPI_KEY_B);
      // A launcher releases only as the upper stage with the fairing gone; before that J would stage it.
      if (release && carriesPayloads(*v) && (!isLauncher(*v) || (configurationOf(*v) == 1 && !fairingOn(*world, *v))))
        world->cockpit().pressKey(v, OAPI_KEY_J);
    }
    world->step();
    if (n % perReload == 0) {
      SCOPED_TRACE("reload at " + std::to_string(n * kDt) + " s");
      reload(world, phases);
    }
  }
  std::cout << "soak flight: " << world->vessels().size() << " vessels at the end, "
            << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() << " s wall time\n";

  size_t payloads = 0;
  for (int k = 0; k < kLaunchers; ++k) {
    const std::string name = launcherName(k);
    ASSERT_EQ(count(*world, name), 1) << name;
    const sim::Vessel &v = *world->find(name);
    EXPECT_TRUE(configurationOf(v) == 1 && !fairingOn(*world, v)) << name;
    EXPECT_EQ(manifestOf(*world, name), std::vector<std::string>()) << name;
    EXPECT_EQ(count(*world, name + "-SEP"), 1) << name;
    for (const ShapeLine &l : shapeOf(k)) {
      if (!l.name) continue;
      const std::string payload = name + "-" + l.name;
      ASSERT_EQ(count(*world, payload), 1) << payload;
      EXPECT_EQ(world->find(payload)->className, classOf(l)) << payload;
      EXPECT_FALSE(carriesPayloads(*world->find(payload))) << payload;
      ++payloads;
    }
  }
  EXPECT_EQ(count(*world, kBooster), kLaunchers);
  for (const char *half : {"Varnell\\Varnellplf1", "Varnell\\Varnellplf2"}) EXPECT_EQ(count(*world, half), kLaunchers);
  EXPECT_EQ(world->vessels().size(), 4 * kLaunchers + payloads);
  for (const char *phase : {"waiting", "counting", "booster burning", "upper stage with fairing",
                            "upper stage releasing", "dispenser with payloads", "dispenser released in the last step"})
    EXPECT_GT(phases[phase], 0) << phase;
}

}  // namespace
