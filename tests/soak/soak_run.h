// The soak flight itself: the fleet flown under its pilot at a coarse step,
// the whole world saved, destroyed and rebuilt from the saved scenario every
// 100 s of flight, with a record of every vessel's tanks on both sides of each
// reload. The world of the last reload is kept for the checks.
#pragma once

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/world/world.h"
#include "soak_fleet.h"
#include "soak_pilot.h"
#include "tests/support/tree.h"

namespace soak {

const double kDt = 0.1;              // coarse, to keep the wall time short [s]
const double kReloadInterval = 100;  // of flight time [s]
// The last launcher starts its count at 135 s, stages about 227 s later and
// drops its fairing 32.5 s after that, near 395 s; with a release every 10 s
// its last satellite is out by 450 s [s].
const double kFlightEnd = 500;

// A vessel as the scenario must bring it back: who it is and what its tanks hold.
struct VesselRecord {
  std::string name;
  std::string className;
  std::vector<double> tanks;  // contents, in tank order [kg]
};

struct ReloadRecord {
  double flightTime = 0;  // [s]
  std::vector<VesselRecord> saved, loaded;
  std::map<std::string, int> phases;  // how many vessels were in each phase of the flight when saved
  bool loadedFile = false;
  std::vector<std::string> loadErrors;  // what the host's log says went wrong while loading
};

struct FlightRecord {
  std::vector<std::string> fleetLoadErrors;
  std::vector<ReloadRecord> reloads;
  std::unique_ptr<sim::World> world;  // as loaded at the last reload
  double wallSeconds = 0;             // [s]
};

inline std::vector<VesselRecord> recordVessels(const sim::World &w) {
  std::vector<VesselRecord> all;
  for (const sim::Vessel *v : w.vessels()) {
    VesselRecord r{v->name, v->className, {}};
    for (const sim::Tank &t : v->tanks) r.tanks.push_back(t.mass);
    all.push_back(r);
  }
  return all;
}

inline std::unique_ptr<sim::World> newWorld() {
  auto w = std::make_unique<sim::World>(".", "");  // the log stays in memory, for the record
  w->dt = kDt;
  return w;
}

// The new world's log lines that report an error.
inline std::vector<std::string> errorLines(const sim::World &w) {
  std::vector<std::string> errors;
  for (const std::string &line : w.log().lines())
    if (line.rfind("ERROR", 0) == 0) errors.push_back(line);
  return errors;
}

// Where a carrier is in its flight, so that a record shows which phases the
// reloads cut through.
inline const char *phaseOf(sim::World &w, const sim::Vessel &v) {
  if (!isCarrier(v)) return nullptr;
  if (!isLauncher(v) && v.createdAt == w.simTime()) return "dispenser released in the last step";
  if (!isLauncher(v)) return carriesPayloads(v) ? "dispenser with payloads" : "empty dispenser";
  if (configurationOf(v) == 0 && v.landed) return counting(w, v) ? "counting on the pad" : "waiting on the pad";
  if (configurationOf(v) == 0) return "booster burning";
  if (fairingOn(w, v)) return "upper stage with fairing";
  return carriesPayloads(v) ? "upper stage releasing" : "upper stage empty";
}

inline std::map<std::string, int> phasesOf(sim::World &w) {
  std::map<std::string, int> phases;
  for (sim::Vessel *v : w.vessels())
    if (const char *phase = phaseOf(w, *v)) ++phases[phase];
  return phases;
}

// Saved, destroyed, rebuilt: the only thing that carries over is the file.
inline ReloadRecord reload(std::unique_ptr<sim::World> &w, const std::string &path, double t) {
  ReloadRecord r;
  r.flightTime = t;
  r.saved = recordVessels(*w);
  r.phases = phasesOf(*w);
  const bool savedFile = w->saveScenario(path);
  w.reset();
  w = newWorld();
  r.loadedFile = savedFile && w->loadScenario(path);
  r.loaded = recordVessels(*w);
  r.loadErrors = errorLines(*w);
  return r;
}

inline FlightRecord flySoak() {
  const auto start = std::chrono::steady_clock::now();
  const std::string dir = makeScratchDir("varnell-soak-");
  FlightRecord record;
  { std::ofstream(dir + "/Fleet.scn") << fleetScenario(); }
  record.world = newWorld();
  record.world->loadScenario(dir + "/Fleet.scn");
  record.fleetLoadErrors = errorLines(*record.world);
  Pilot pilot;
  // Flight time is counted here: every load starts the world's clock at 0.
  const long stepsPerReload = std::lround(kReloadInterval / kDt);
  const long steps = std::lround(kFlightEnd / kDt);
  for (long n = 1; n <= steps; ++n) {
    const double t = (n - 1) * kDt;  // [s]
    pilot.act(*record.world, t, n % stepsPerReload == 0);
    record.world->step();
    if (n % stepsPerReload == 0) record.reloads.push_back(reload(record.world, dir + "/Soak.scn", n * kDt));
  }
  std::filesystem::remove_all(dir);
  record.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return record;
}

}  // namespace soak
