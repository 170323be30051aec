// Propulsion: what a vessel's thrusters push with over one step and the
// propellant they draw from their tanks.
#pragma once

#include <vector>

#include "host/OrbiterAPI.h"

namespace sim {
struct Vessel;
struct Thruster;

namespace physics {

// The thrust of all thrusters over one step, steady through the step.
struct Propulsion {
  VECTOR3 force{};           // vessel frame [N]
  VECTOR3 torque{};          // about the centre of mass, vessel frame [N m]
  double massFlow = 0;       // propellant drawn [kg/s]
  std::vector<double> draw;  // propellant drawn from each tank over the step, in tank order [kg]; empty: none
};

// A thruster's tank is there and not empty (a tank below empty, which a module
// may set, counts as not empty, as in the simulator).
bool hasPropellant(const Vessel &v, const Thruster &th);
// A module sets a thruster's level (any value is kept as set) or changes it by
// an amount; the level it runs at follows at once, within 0..1, if its tank
// holds propellant (the simulator's Vessel::SetThrusterLevel, IncThrusterLevel).
void setLevel(const Vessel &v, Thruster &th, double level);
void addLevel(const Vessel &v, Thruster &th, double change);
// The levels for a frame, as the simulator's Vessel::UpdateThrustForces sets
// them before it integrates: each thruster runs at clamp(0..1, permanent +
// override), and the override is spent; a thruster that would run from an
// empty or missing tank is switched off, its stored level too, so only a new
// command lights it again. Within the frame the thrusters run at these levels,
// drawing their tanks down to 0 at most.
void startFrame(Vessel &v);
// A thruster runs this frame (the simulator's bThrustEngaged): a force acts on the vessel.
bool thrustEngaged(const Vessel &v);
// Thrust [N] of a thruster at full level in ambient pressure [Pa], before the tank is considered.
double thrustAtPressure(const Thruster &th, double pressure);
// Propellant flow [kg/s] of a thruster at full level from a tank of the given efficiency.
double flowAtFullLevel(const Thruster &th, double efficiency);

// Thrust and flow at the levels of the frame; a tank that runs dry in the
// frame still feeds its thrusters to its end, as in the simulator.
Propulsion propulsionOf(const Vessel &v, double pressure, double h);
// Takes the step's propellant out of the tanks, none below empty.
void drawPropellant(Vessel &v, const Propulsion &prop);

}  // namespace physics
}  // namespace sim
