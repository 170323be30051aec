// Thrust, thrust torque and propellant flow of a vessel's thrusters, and the
// levels they run at, kept as the simulator keeps them.
#include "sim/physics/propulsion.h"

#include <algorithm>

#include "sim/world/vessel.h"

namespace sim {
namespace physics {
namespace {

int tankIndex(const Vessel &v, Id tank) {
  for (std::size_t i = 0; i < v.tanks.size(); ++i)
    if (v.tanks[i].id == tank) return static_cast<int>(i);
  return -1;
}

}  // namespace

bool hasPropellant(const Vessel &v, const Thruster &th) {
  const int k = th.tank ? tankIndex(v, th.tank) : -1;
  return k >= 0 && v.tanks[k].mass != 0;  // as the simulator tests it: a tank below empty counts
}

void setLevel(const Vessel &v, Thruster &th, double level) {
  const double change = level - th.permanent;
  th.permanent = level;
  if (hasPropellant(v, th)) th.level = std::clamp(th.level + change, 0.0, 1.0);
}

void addLevel(const Vessel &v, Thruster &th, double change) {
  th.permanent += change;
  if (hasPropellant(v, th)) th.level = std::clamp(th.level + change, 0.0, 1.0);
}

void startFrame(Vessel &v) {
  for (Thruster &th : v.thrusters) {
    th.level = std::clamp(th.permanent + th.override, 0.0, 1.0);
    if (th.level > 0 && !hasPropellant(v, th)) th.level = th.permanent = 0;
    th.override = 0;
  }
}

bool thrustEngaged(const Vessel &v) {
  for (const Thruster &th : v.thrusters)
    if (th.level > 0 && th.maxThrust0 != 0 && th.tank) return true;
  return false;
}

double thrustAtPressure(const Thruster &th, double pressure) {
  if (th.isp0 <= 0 || th.ispRef <= 0) return th.maxThrust0;
  const double eta = (th.isp0 - th.ispRef) / (th.pRef * th.isp0);  // thrust lost per pascal [1/Pa]
  return th.maxThrust0 * std::max(0.0, 1 - pressure * eta);
}

// A tank of lower efficiency gives less impulse per kilogram: the simulator's
// Vessel::UpdateThrustForces draws th / (efficiency isp0) from it.
double flowAtFullLevel(const Thruster &th, double efficiency) {
  if (th.isp0 <= 0 || th.maxThrust0 <= 0) return 0;
  return th.maxThrust0 / (efficiency * th.isp0);
}

Propulsion propulsionOf(const Vessel &v, double pressure, double h) {
  Propulsion prop;  // draws nothing until a thruster is found running
  for (const Thruster &th : v.thrusters) {
    const int tank = th.level > 0 && th.tank ? tankIndex(v, th.tank) : -1;
    if (tank < 0) continue;
    const VECTOR3 f = th.dir * (thrustAtPressure(th, pressure) * th.level);
    prop.force += f;
    prop.torque += crossp(f, th.pos);
    const double flow = flowAtFullLevel(th, v.tanks[tank].efficiency) * th.level;  // [kg/s]
    prop.massFlow += flow;
    if (prop.draw.empty()) prop.draw.assign(v.tanks.size(), 0.0);
    prop.draw[tank] += flow * h;
  }
  return prop;
}

void drawPropellant(Vessel &v, const Propulsion &prop) {
  for (std::size_t k = 0; k < prop.draw.size() && k < v.tanks.size(); ++k)
    if (prop.draw[k] > 0) v.tanks[k].mass = std::max(0.0, v.tanks[k].mass - prop.draw[k]);
}

}  // namespace physics
}  // namespace sim
