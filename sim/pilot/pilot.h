// The pilot: carries out a pilot program at the start of every step, as
// World::pilot. It acts only as a person at the controls could: keys, the
// attitude inputs, the throttle, the RCS mode and the time acceleration, on
// the vessel that has the keyboard, switching it to another first; it reads
// only instruments (pilot/instruments.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sim/pilot/program.h"
#include "sim/world/world.h"

namespace sim {
namespace pilot {

// The pitch [rad] a program asks for at x (time since the steer rule fired
// [s], or altitude [m]): linear between points, held beyond the ends.
double programPitch(const PitchProgram &p, double x);

// What the instrument of a comparison's quantity shows on v; NaN for a tank
// that is not there.
double instrumentReading(const Vessel &v, const physics::Planet &p, const physics::PlanetPose &pose,
                         const Condition &c);
// Whether a reading is beyond a comparison's threshold ('>' above it, '<'
// below). A NaN reading is beyond neither, and is compared quietly: an
// ordered comparison with a NaN would raise the invalid-operation fault.
bool beyondThreshold(double reading, const Condition &c);

class Pilot {
 public:
  explicit Pilot(Program program);
  Pilot(const Pilot &) = delete;  // ended() points into its own program
  Pilot &operator=(const Pilot &) = delete;
  // One step's worth: fires the rules whose conditions hold, then steers.
  void act(World &w);
  // The end rule that fired, or null while the flight goes on.
  const Rule *ended() const { return endRule_; }
  const Program &program() const { return program_; }

  struct RuleState {
    bool fired = false;
    bool armed = true;  // a repeating rule re-arms once its condition has been false
  };
  // How far the pilot has come, for a flight carried on where it stopped:
  // each rule's state, and the steering held (the rule it came from).
  struct Progress {
    std::vector<RuleState> rules;
    int steerRule = -1;  // -1: none held
    std::string steerVessel;
    double steerSince = 0;  // [s]
  };
  Progress progress() const;
  // Takes up where a pilot of the same program stopped; false when the
  // progress does not fit the program (another number of rules, a steering
  // from a rule that is no steer rule).
  bool resume(const Progress &p);

 private:
  struct ActiveSteering {
    std::string vessel;  // the one held, which has the focus
    Steering steering;
    double since = 0;  // flight time the steer rule fired [s]
    size_t rule = 0;   // of the program
  };

  Program program_;
  std::vector<RuleState> states_;
  std::optional<ActiveSteering> steering_;  // one vessel at a time: there is one keyboard
  const Rule *endRule_ = nullptr;

  Vessel *vesselOf(const World &w, const Rule &r) const;
  void fire(World &w, const Rule &r, Vessel *v);
  void takeFocus(World &w, Vessel &v);
  void holdInputs(World &w, const std::vector<std::pair<THGROUP_TYPE, double>> &inputs);
  void steer(World &w, Vessel &v, const ActiveSteering &s) const;
};

}  // namespace pilot
}  // namespace sim
