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

double flowAtFullLevel(const Thruster &th) {
  if (th.isp0 <= 0 || th.maxThrust0 <= 0) return 0;
  return th.maxThrust0 / th.isp0;
}

Propulsion propulsionOf(const Vessel &v, double pressure, double h) {
  Propulsion prop;
  if (v.thrusters.empty()) return prop;
  // First what each tank is asked for, then how much of the step each can feed.
  std::vector<double> demand(v.tanks.size(), 0.0);  // [kg/s]
  std::vector<int> tankOf(v.thrusters.size(), -1);
  std::vector<double> level(v.thrusters.size(), 0.0);
  for (std::size_t i = 0; i < v.thrusters.size(); ++i) {
    const Thruster &th = v.thrusters[i];
    tankOf[i] = th.tank ? tankIndex(v, th.tank) : -1;
    level[i] = effectiveLevel(v, th);
    if (tankOf[i] >= 0) demand[tankOf[i]] += flowAtFullLevel(th) * level[i];
  }
  std::vector<double> share(v.tanks.size(), 0.0);  // fraction of the step each tank feeds
  for (std::size_t k = 0; k < v.tanks.size(); ++k) {
    const double mass = v.tanks[k].mass;
    share[k] = mass <= 0 ? 0.0 : (demand[k] * h <= mass ? 1.0 : mass / (demand[k] * h));
  }
  prop.draw.assign(v.tanks.size(), 0.0);
  for (std::size_t i = 0; i < v.thrusters.size(); ++i) {
    if (tankOf[i] < 0 || level[i] <= 0) continue;
    const Thruster &th = v.thrusters[i];
    const double fraction = level[i] * share[tankOf[i]];
    const VECTOR3 f = th.dir * (thrustAtPressure(th, pressure) * fraction);
    prop.force += f;
    prop.torque += crossp(f, th.pos);
    const double flow = flowAtFullLevel(th) * fraction;
    prop.massFlow += flow;
    prop.draw[tankOf[i]] += flow * h;
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
