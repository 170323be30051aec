// The soak flight's pilot: the person at the keys of twenty launchers and of
// every dispenser they release. Launchers fly straight up, so B and J are all
// it takes.
//
// The world is rebuilt from its saved scenario every 100 s, and a launcher
// comes back from a load with its count stopped (met, stageTimer and the
// launch command are not saved). The pilot works with that:
// - a launcher still on the pad after a load whose launch time has passed gets
//   B again, and its count starts over from -10 s; one that was already
//   flying on its booster needs no count: its engines come back at the levels
//   saved with it and burn on;
// - a launcher loaded as the upper stage with its fairing on runs the
//   upper-stage timeline again from the load: its engines light again 10 to
//   11 s later, and the fairing goes 32.5 s after the load instead of after
//   staging. J waits for the fairing to be gone, so releases simply come later.
//
// It sees the vessels as a person would, through the host: what is drawn on
// them, their engines, and the keys it pressed itself.
#pragma once

#include <cmath>
#include <cstdlib>
#include <string>

#include "soak_fleet.h"
#include "tests/support/launcher.h"

namespace soak {

const double kFirstLaunch = 2;       // flight time of L01's B [s]
const double kLaunchInterval = 7;    // between one launcher's B and the next's [s]
const double kReleaseInterval = 10;  // between J presses on one carrier [s]

inline double launchTime(int launcher) { return kFirstLaunch + launcher * kLaunchInterval; }

// The launcher's index from its name, Lnn; -1 for any other name.
inline int launcherIndex(const std::string &name) {
  if (name.size() != 3 || name[0] != 'L') return -1;
  return std::atoi(name.c_str() + 1) - 1;
}

inline bool isLauncher(const sim::Vessel &v) { return v.className == kLauncherClass; }
inline bool isCarrier(const sim::Vessel &v) { return isLauncher(v) || v.className == kDispenserClass; }

// A carrier's payloads are drawn on it: beside its own one mesh (a dispenser,
// or the upper stage with its fairing gone), every further mesh is one.
inline bool carriesPayloads(const sim::Vessel &v) { return isCarrier(v) && usedMeshes(v) > 1; }

// B pressed on the launcher since the world was loaded: the count runs.
inline bool counting(const sim::World &w, const sim::Vessel &v) {
  for (const sim::Event &e : w.record().events())
    if (e.vessel == v.name && e.kind == sim::EventKind::key && e.detail == "B 0x30 down") return true;
  return false;
}

class Pilot {
 public:
  // Called before each step, at flight time t [s]. In the last step before a
  // save every carrier that can release does: the stages it releases are
  // saved before their first step, with their manifests still on the way.
  void act(sim::World &w, double t, bool lastStepBeforeSave) {
    const bool releaseTime =
        lastStepBeforeSave || std::floor(t / kReleaseInterval) != std::floor(lastT_ / kReleaseInterval);
    lastT_ = t;
    // The list is copied: a key press may create vessels.
    const std::vector<sim::Vessel *> vessels = w.vessels();
    for (sim::Vessel *v : vessels) {
      if (needsCount(w, *v, t)) w.cockpit().pressKey(v, OAPI_KEY_B);
      if (releaseTime && readyToRelease(w, *v)) w.cockpit().pressKey(v, OAPI_KEY_J);
    }
  }

 private:
  double lastT_ = -1;  // [s]

  static bool needsCount(const sim::World &w, const sim::Vessel &v, double t) {
    const int k = launcherIndex(v.name);
    return k >= 0 && isLauncher(v) && t >= launchTime(k) && configurationOf(v) == 0 && v.landed && !counting(w, v);
  }

  // A launcher releases only as the upper stage with the fairing gone; before
  // that J would stage it or be dropped.
  static bool readyToRelease(sim::World &w, const sim::Vessel &v) {
    return carriesPayloads(v) && (!isLauncher(v) || (configurationOf(v) == 1 && !fairingOn(w, v)));
  }
};

}  // namespace soak
