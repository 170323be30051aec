// The headless host's world: the vessels of one simulation, the clock and the
// executive's frame, and its parts: what modules load (resources), the person
// at the keyboard (cockpit), the flight record, and the log.
//
// The oapi* functions and the VESSEL methods act on the current world, the
// one constructed last and not yet destroyed; there is at most one at a time.
#pragma once

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "sim/cockpit/cockpit.h"
#include "sim/formats/scenario_file.h"
#include "sim/physics/planet/planet.h"
#include "sim/world/flight_record.h"
#include "sim/world/log.h"
#include "sim/world/resources.h"
#include "sim/world/vessel.h"

namespace sim {

struct FrameScratch;

class World {
 public:
  // rootDir is the simulator's folder tree (Config/, Meshes/, Modules/,
  // Scenarios/, Textures/). Module paths such as "Modules\cvelmessage" are
  // resolved against the process's working directory, as the simulator does;
  // the flight runner and the tests run inside rootDir.
  // A world that carries on a flight (appendLog) adds to its log file.
  explicit World(const std::string &rootDir, const std::string &logPath = "Varnell.log", bool appendLog = false);
  ~World();  // deletes every vessel through its module, then unloads the modules
  World(const World &) = delete;
  World &operator=(const World &) = delete;

  static World *current();

  // --- Vessels -------------------------------------------------------------
  // Creates a vessel from its class file Config/Vessels/<className>.cfg: loads
  // the module the file names, ovcInit, clbkSetClassCaps, the generic class
  // keys, then the given status (or a default status at the planet's surface
  // when null). Returns null, and logs why, when the class cannot be loaded.
  Vessel *createVessel(const std::string &name, const std::string &className, const VESSELSTATUS *status);
  Vessel *find(const std::string &name) const;  // first vessel of that name, or null
  // Null for a handle that names no live vessel. Every call of a VESSEL
  // method comes through here, and a module calls in runs on its own vessel:
  // the vessel found last is answered without a look-up.
  Vessel *fromHandle(OBJHANDLE h) const { return h && h == lastFound_ ? const_cast<Vessel *>(lastFound_) : lookUp(h); }
  const std::vector<Vessel *> &vessels() const { return order_; }
  // ovcExit, drops its message queue, records the event; asked during a frame
  // (by a callback or the pilot), at the frame's end.
  void deleteVessel(Vessel *v);
  // A vessel's motion as modules read it: during the post-step callbacks, the
  // frame's start for a vessel the frame integrated; else as it is.
  const physics::Motion &readable(const Vessel &v) const { return postStepping_ && v.inFrame ? v.frameStart : v; }

  // --- Scenarios -----------------------------------------------------------
  // Reads a scenario file and creates its vessels. Problems are logged with
  // file and line; what can be read is kept. Returns false only when the file
  // cannot be opened.
  bool loadScenario(const std::string &path);
  // A scenario is being loaded: what its vessels' modules make and undo
  // while they build (a tank of the class that the saved state has no more)
  // is not recorded as happening in flight.
  bool loadingScenario() const { return loading_; }
  // The same for a scenario held as text; name stands for its file in the log.
  void loadScenarioText(const std::string &name, const std::string &text);
  // Writes the whole world as a scenario, every vessel through its own save path.
  bool saveScenario(const std::string &path) const;
  std::string scenarioText() const;  // the same, as text
  // The lines of a vessel's scenario block that the host's parser did not
  // know, as the load met them; its module may have read them itself.
  const std::vector<ScenarioLine> &unknownLines(const Vessel &v) const;
  void noteUnknownLine(const Vessel &v, ScenarioLine line) { unknownLines_[&v].push_back(std::move(line)); }
  std::string scenarioDescription;
  std::string focusVessel;
  std::string planetarySystem = "Sol";
  // The modified Julian date at flight time 0 [days]: a scenario's Date,
  // and the date at simulation time t is mjdAt(t). A world carrying on a
  // flight takes the date from it (dateCarried), not as the scenario's text
  // rounds it, so that the planet stands exactly where it would have.
  double mjd = 51544.5;
  bool dateCarried = false;
  double mjdAt(double simt) const { return mjd + (flownBefore + simt) / 86400.0; }

  // --- Time ----------------------------------------------------------------
  // The simulation time [s], as modules read it. It starts at 0 with every
  // world, as the simulator's starts at 0 with every scenario it loads (a
  // scenario keeps only its date).
  double simTime() const { return simt_; }
  // The flight's time [s], on which the pilot, the record and the outputs
  // run: the simulation time plus what the flight had flown before this
  // world was loaded, when it carries on from another one's saved scenario.
  double flightTime() const { return flownBefore + simt_; }
  double flownBefore = 0;  // [s]
  // The planet's clock: seconds since its epoch, MJD 51544.5, from which its
  // turn and tilt follow (physics/planet/planet.h). It runs on from the
  // scenario's date, so a scenario saved and loaded again finds the planet
  // turned as it left it.
  double planetTime() const { return planetTimeAt(simt_); }
  double planetTimeAt(double simt) const { return (mjd - kPlanetEpochMjd) * 86400.0 + flownBefore + simt; }
  static constexpr double kPlanetEpochMjd = 51544.5;  // [days]
  // The planet as it stands now, or at planet time t; worked out once for
  // each moment the pilot, the executive and the records ask about in turn.
  const physics::PlanetPose &planetPose() const { return planetPoseAt(planetTime()); }
  const physics::PlanetPose &planetPoseAt(double t) const;
  // Its spin now, taken from the pose when that is worked out already.
  VECTOR3 planetSpin() const { return planetTime() == poseTime_ ? pose_.spin : planet.spinAt(planetTime()); }
  double dt = 0.02;             // frame at time acceleration 1 [s]
  double timeAcceleration = 1;  // what oapiGetTimeAcceleration reports; multiplies the frame
  // One frame of the executive, dt times the time acceleration long; its
  // schedule is World::step in executive.cpp.
  void step();
  // Vessels whose state left the range it can be flown in, in the order it happened: each
  // was put back as the frame found it, with a "diverged" event and an error
  // in the log. A flight should not go on once there is one.
  const std::vector<std::string> &diverged() const { return diverged_; }
  void markDiverged(Vessel &v, const std::string &why);
  physics::Planet planet;
  // The pilot, called first in every step (the flight runner's pilot program).
  std::function<void(World &)> pilot;
  // The vessel whose callback is running, if any: it is recorded as the
  // creator of vessels created meanwhile.
  Vessel *callingVessel = nullptr;

  // --- Parts ---------------------------------------------------------------
  Resources &resources() { return resources_; }
  const Resources &resources() const { return resources_; }
  Cockpit &cockpit() { return cockpit_; }
  const Cockpit &cockpit() const { return cockpit_; }
  FlightRecord &record() { return record_; }
  const FlightRecord &record() const { return record_; }

  // --- Records -------------------------------------------------------------
  const std::string &root() const { return root_; }
  Log &log() const { return *log_; }
  Id nextId() { return ++lastId_; }

 private:
  std::string root_;
  std::unique_ptr<Log> log_;
  double simt_ = 0;
  mutable physics::PlanetPose pose_;
  // The planet time of pose_ [s]; NaN, none yet, which == and != (quiet comparisons) find equal to no time.
  mutable double poseTime_ = NAN;
  FlightRecord record_{simt_, flownBefore};
  Resources resources_{*this};
  Cockpit cockpit_{*this};
  std::vector<std::string> diverged_;
  Id lastId_ = 0;
  std::vector<std::unique_ptr<Vessel>> owned_;
  std::vector<Vessel *> order_;
  std::unordered_set<const Vessel *> live_;  // the vessels of order_, for handle checks
  std::unordered_map<const Vessel *, std::vector<ScenarioLine>> unknownLines_;
  mutable const Vessel *lastFound_ = nullptr;  // of live_, the last that fromHandle found
  HMODULE messages_ = nullptr;                 // the message module, held while vessels may be deleted
  bool messagesTried_ = false;
  bool loading_ = false;          // loadScenario is under way
  bool stepping_ = false;         // a frame is under way
  bool postStepping_ = false;     // its post-step callbacks are running
  std::vector<Vessel *> doomed_;  // deleted during the frame under way

  std::unique_ptr<FrameScratch> scratch_;  // one frame's notes, reused

  // The parts of a frame, in the order step() runs them.
  void applyPilot();
  void callPreStep(double frame);
  void flyVessels(double frame);
  void recordTouchdowns();
  void callPostStep(double frame);
  void restoreDiverged(double frame);
  void deleteDoomed();

  void loadScenario(const std::string &path, const ScenarioData &data);
  // A vessel of the class, defined by its module and class file, without a state yet.
  Vessel *build(const std::string &name, const std::string &className);
  void dropMessages(VESSEL *iface);
  void forget(const Vessel *v);       // takes it out of live_: its handle names nothing from then on
  Vessel *lookUp(OBJHANDLE h) const;  // fromHandle's look-up in live_
};

// Marks a vessel as the one whose module is being called, for the length of a
// scope; nested calls (a vessel created inside a callback) restore the outer one.
class CallingScope {
 public:
  CallingScope(World &w, Vessel *v) : w_(w), outer_(w.callingVessel) { w.callingVessel = v; }
  ~CallingScope() { w_.callingVessel = outer_; }
  CallingScope(const CallingScope &) = delete;
  CallingScope &operator=(const CallingScope &) = delete;

 private:
  World &w_;
  Vessel *outer_;
};

}  // namespace sim
