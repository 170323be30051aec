// A flight carried through saving and loading: the whole world saved as
// scenario text, torn down as at the end of a simulation, and loaded again in
// a fresh world; and the comparison of a flight flown so with the same flight
// flown straight through, vessel by vessel.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sim/world/world.h"

namespace sim {
namespace runner {

// What of a flight lives outside its scenario: the flight's clock and record,
// the frame, and what the person at the controls holds (the attitude inputs
// and the time acceleration).
struct Carried {
  double flightTime = 0;  // [s]
  double mjd = 51544.5;   // the date at flight time 0 [days]
  double dt = 0.02;       // [s]
  double timeAcceleration = 1;
  double input[15] = {};
  std::vector<Event> events;
};
Carried carriedFrom(const World &w);
// Into a world not yet loaded: events its load records are stamped on the flight's clock.
void carryInto(World &w, const Carried &c);

// A crash is the host's mark, which no scenario keeps: a world loaded to
// carry a flight on marks the vessels its record has seen crash.
void markCrashed(World &w);

// Saves the world, destroys it and loads the text in a new world of the same
// root, whose log (logPath; empty: in memory) is added to.
std::unique_ptr<World> reloaded(std::unique_ptr<World> w, const std::string &logPath);

// What the comparison reads of a vessel.
struct VesselState {
  std::string name, status;
  VECTOR3 pos{}, vel{};               // [m], [m/s]
  double mass = 0;                    // [kg]
  std::vector<double> tanks, levels;  // contents [kg]; thruster levels [0..1]
};
// The world at one moment of the flight.
struct Checkpoint {
  double t = 0;  // flight time [s]
  std::vector<VesselState> vessels;
  std::vector<Event> events;
};
Checkpoint checkpointOf(const World &w);

// How far two flights may differ and still be the same.
struct Tolerance {
  double position = 1e-3;  // [m]
  double velocity = 1e-6;  // [m/s]
  double mass = 1e-3;      // [kg], of the whole vessel and of each tank
  double level = 1e-6;     // of a thruster [0..1]
  double time = 1e-6;      // of an event [s]
};
// The first difference between two checkpoints beyond the tolerance, said as
// "L1 position: 2.5 m apart"; empty when there is none.
std::string firstDifference(const Checkpoint &expected, const Checkpoint &actual, const Tolerance &tol);

}  // namespace runner
}  // namespace sim
