// VESSEL: thrusters and thruster groups.
#include <algorithm>
#include <cstdio>

#include "sim/api/vessel_api.h"
#include "sim/formats/text.h"
#include "sim/physics/propulsion.h"

using sim::api::self;
using sim::api::tankOf;
using sim::api::thrusterOf;

namespace {

// Applies f to every member thruster and records the group's new level when
// it changed.
template <typename F>
void setGroup(sim::Vessel &v, THGROUP_TYPE type, F f) {
  sim::ThrusterGroup *g = v.group(type);
  if (!g) return;
  const double before = v.groupLevel(type);
  for (sim::Id id : g->thrusters)
    if (sim::Thruster *th = v.thruster(id)) f(*th);
  const double after = v.groupLevel(type);
  if (after != before) sim::World::current()->record().recordGroupLevel(v.name, type, after);
}

}  // namespace

// Groups, exhaust and streams all refer to thrusters, so they go too.
void VESSEL::ClearThrusterDefinitions() const {
  sim::Vessel *v = self(this, "ClearThrusterDefinitions");
  if (!v) return;
  v->thrusters.clear();
  v->groups.clear();
  v->exhausts.clear();
  v->streams.clear();
}

THRUSTER_HANDLE VESSEL::CreateThruster(const VECTOR3 &pos, const VECTOR3 &dir, double maxth0, PROPELLANT_HANDLE hp,
                                       double isp0, double isp_ref, double p_ref) const {
  sim::Vessel *v = self(this, "CreateThruster");
  if (!v) return nullptr;
  sim::Thruster th;
  th.id = sim::World::current()->nextId();
  th.pos = pos;
  const double len = length(dir);
  th.dir = len > 0 ? dir / len : dir;
  th.maxThrust0 = maxth0;
  if (hp) {
    sim::Tank *t = tankOf(*v, hp, "CreateThruster");
    th.tank = t ? t->id : 0;
  }
  // No Isp: the vessel's default as it stands now, as the simulator's CreateThruster takes it.
  th.isp0 = isp0 > 0 ? isp0 : v->defaultIsp;
  th.ispRef = isp_ref;
  th.pRef = p_ref;
  v->thrusters.push_back(th);
  return sim::handleOf(th.id);
}

// One group per standard type: a second group of a type takes the first's place.
THGROUP_HANDLE VESSEL::CreateThrusterGroup(THRUSTER_HANDLE *th, int nth, THGROUP_TYPE thgt) const {
  sim::Vessel *v = self(this, "CreateThrusterGroup");
  if (!v) return nullptr;
  sim::ThrusterGroup g{sim::World::current()->nextId(), thgt, {}};
  for (int i = 0; th && i < nth; ++i)
    if (sim::Thruster *t = thrusterOf(*v, th[i], "CreateThrusterGroup")) g.thrusters.push_back(t->id);
  if (thgt != THGROUP_USER) {
    auto same = [thgt](const sim::ThrusterGroup &o) { return o.type == thgt; };
    v->groups.erase(std::remove_if(v->groups.begin(), v->groups.end(), same), v->groups.end());
  }
  v->groups.push_back(g);
  return sim::handleOf(g.id);
}

void VESSEL::SetThrusterLevel(THRUSTER_HANDLE th, double level) const {
  sim::Vessel *v = self(this, "SetThrusterLevel");
  if (sim::Thruster *t = v ? thrusterOf(*v, th, "SetThrusterLevel") : nullptr) sim::physics::setLevel(*v, *t, level);
}

double VESSEL::GetThrusterLevel(THRUSTER_HANDLE th) const {
  sim::Vessel *v = self(this, "GetThrusterLevel");
  sim::Thruster *t = v ? thrusterOf(*v, th, "GetThrusterLevel") : nullptr;
  return t ? t->level : 0;
}

void VESSEL::SetThrusterDir(THRUSTER_HANDLE th, const VECTOR3 &dir) const {
  sim::Vessel *v = self(this, "SetThrusterDir");
  if (sim::Thruster *t = v ? thrusterOf(*v, th, "SetThrusterDir") : nullptr) t->dir = dir;
}

void VESSEL::SetThrusterGroupLevel(THGROUP_TYPE thgt, double level) const {
  const double to = std::clamp(level, 0.0, 1.0);
  if (sim::Vessel *v = self(this, "SetThrusterGroupLevel"))
    setGroup(*v, thgt, [v, to](sim::Thruster &th) { sim::physics::setLevel(*v, th, to); });
}

void VESSEL::IncThrusterGroupLevel(THGROUP_TYPE thgt, double dlevel) const {
  if (sim::Vessel *v = self(this, "IncThrusterGroupLevel"))
    setGroup(*v, thgt, [v, dlevel](sim::Thruster &th) { sim::physics::addLevel(*v, th, dlevel); });
}

double VESSEL::GetThrusterGroupLevel(THGROUP_TYPE thgt) const {
  sim::Vessel *v = self(this, "GetThrusterGroupLevel");
  return v ? v->groupLevel(thgt) : 0;
}
