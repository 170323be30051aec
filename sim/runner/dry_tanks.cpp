#include "sim/runner/dry_tanks.h"

namespace sim {
namespace runner {
namespace {

const THGROUP_TYPE kEngineGroups[] = {THGROUP_MAIN, THGROUP_RETRO, THGROUP_HOVER};

// The engine groups with a thruster that draws from the tank, as "MAIN, HOVER".
std::string groupsFedBy(Vessel &v, Id tank) {
  std::string names;
  for (THGROUP_TYPE type : kEngineGroups) {
    const ThrusterGroup *group = v.group(type);
    if (!group) continue;
    for (Id id : group->thrusters) {
      const Thruster *th = v.thruster(id);
      if (th && th->tank == tank) {
        names += (names.empty() ? "" : ", ") + groupName(type);
        break;
      }
    }
  }
  return names;
}

}  // namespace

double DryTankWatch::heldBefore(Id tank) const {
  for (const Held &h : held_)
    if (h.tank == tank) return h.kg;
  return 0;
}

void DryTankWatch::afterStep(World &w) {
  next_.clear();
  for (Vessel *v : w.vessels())
    for (size_t i = 0; i < v->tanks.size(); ++i) {
      const Tank &t = v->tanks[i];
      const size_t at = next_.size();
      const double held = at < held_.size() && held_[at].tank == t.id ? held_[at].kg : heldBefore(t.id);
      if (held > 0 && t.mass <= 0) {
        const std::string groups = groupsFedBy(*v, t.id);
        if (!groups.empty())
          w.record().record(v->name, EventKind::tankDry, "tank " + std::to_string(i) + " (" + groups + ")");
      }
      next_.push_back({t.id, t.mass});
    }
  held_.swap(next_);
}

}  // namespace runner
}  // namespace sim
