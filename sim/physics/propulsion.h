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
  std::vector<double> draw;  // propellant drawn from each tank over the step, in tank order [kg]
};

// The level a thruster runs at [0..1]: its own, raised to the pilot's manual
// level when it belongs to a rotation group, never negative.
double effectiveLevel(const Vessel &v, const Thruster &th);
// Thrust [N] of a thruster at full level in ambient pressure [Pa], before the tank is considered.
double thrustAtPressure(const Thruster &th, double pressure);
// Propellant flow [kg/s] of a thruster at full level from a tank of the given efficiency.
double flowAtFullLevel(const Thruster &th, double efficiency);

// A tank that runs dry during the step feeds its thrusters for the part of the
// step its contents last; their thrust and flow are spread evenly over the
// step, which keeps the ratio of impulse to propellant exact.
Propulsion propulsionOf(const Vessel &v, double pressure, double h);
// Takes the step's propellant out of the tanks.
void drawPropellant(Vessel &v, const Propulsion &prop);

}  // namespace physics
}  // namespace sim
