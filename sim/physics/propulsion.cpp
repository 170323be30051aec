// Thrust, thrust torque and propellant flow of a vessel's thrusters.
#include "sim/physics/propulsion.h"

#include <algorithm>

#include "sim/world/vessel.h"

namespace sim {
namespace physics {
namespace {

// Pilot inputs drive these groups as well as the levels a module sets.
const THGROUP_TYPE kRotationGroups[] = {THGROUP_ATT_PITCHUP,  THGROUP_ATT_PITCHDOWN, THGROUP_ATT_YAWLEFT,
                                        THGROUP_ATT_YAWRIGHT, THGROUP_ATT_BANKLEFT,  THGROUP_ATT_BANKRIGHT};

double manualLevel(const Vessel &v, Id thruster) {
  double level = 0;
  for (THGROUP_TYPE type : kRotationGroups) {
    if (v.manualLevel[type] <= 0) continue;
    for (const ThrusterGroup &g : v.groups)
      if (g.type == type && std::find(g.thrusters.begin(), g.thrusters.end(), thruster) != g.thrusters.end())
        level = std::max(level, v.manualLevel[type]);
  }
  return level;
}

int tankIndex(const Vessel &v, Id tank) {
  for (std::size_t i = 0; i < v.tanks.size(); ++i)
    if (v.tanks[i].id == tank) return static_cast<int>(i);
  return -1;
}

}  // namespace

double effectiveLevel(const Vessel &v, const Thruster &th) {
  return std::clamp(std::max(th.level, manualLevel(v, th.id)), 0.0, 1.0);
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
  Propulsion prop;
  if (v.thrusters.empty()) return prop;
  // First what each tank is asked for (kept in draw [kg/s] for the while),
  // then the share of the step each can feed, then what each thruster draws.
  std::vector<double> &demand = prop.draw;
  demand.assign(v.tanks.size(), 0.0);
  std::vector<std::pair<int, double>> feed(v.thrusters.size());  // tank index, level
  for (std::size_t i = 0; i < v.thrusters.size(); ++i) {
    const Thruster &th = v.thrusters[i];
    feed[i] = {th.tank ? tankIndex(v, th.tank) : -1, effectiveLevel(v, th)};
    if (feed[i].first >= 0)
      demand[feed[i].first] += flowAtFullLevel(th, v.tanks[feed[i].first].efficiency) * feed[i].second;
  }
  for (std::size_t i = 0; i < v.thrusters.size(); ++i) {  // the level becomes the fraction of the step at full thrust
    if (feed[i].first < 0) continue;
    const double mass = v.tanks[feed[i].first].mass, asked = demand[feed[i].first] * h;  // [kg]
    feed[i].second *= mass <= 0 ? 0.0 : (asked <= mass ? 1.0 : mass / asked);
  }
  std::fill(prop.draw.begin(), prop.draw.end(), 0.0);
  for (std::size_t i = 0; i < v.thrusters.size(); ++i) {
    const auto [tank, fraction] = feed[i];
    if (tank < 0 || fraction <= 0) continue;
    const Thruster &th = v.thrusters[i];
    const VECTOR3 f = th.dir * (thrustAtPressure(th, pressure) * fraction);
    prop.force += f;
    prop.torque += crossp(f, th.pos);
    const double flow = flowAtFullLevel(th, v.tanks[tank].efficiency) * fraction;
    prop.massFlow += flow;
    prop.draw[tank] += flow * h;
  }
  return prop;
}

void drawPropellant(Vessel &v, const Propulsion &prop) {
  for (std::size_t k = 0; k < prop.draw.size() && k < v.tanks.size(); ++k) {
    if (prop.draw[k] <= 0) continue;
    Tank &t = v.tanks[k];
    // A tank fed for only part of the step is empty, whatever rounding says.
    t.mass = prop.draw[k] >= t.mass * (1 - 1e-12) ? 0.0 : t.mass - prop.draw[k];
  }
}

}  // namespace physics
}  // namespace sim
