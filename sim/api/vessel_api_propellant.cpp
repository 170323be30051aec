// VESSEL: propellant tanks. The first tank is the default one until a module
// chooses another (or the default is deleted: then the first left takes over).
// Contents are kept as given, never raised to 0, as the simulator keeps them;
// a tank created or deleted reaches GetMass only as its mass register allows
// (Vessel::reportedMass).
#include <algorithm>

#include "sim/api/vessel_api.h"

using sim::api::self;
using sim::api::tankOf;

namespace {

sim::Tank *defaultTank(sim::Vessel &v) { return v.tank(v.defaultTank); }

}  // namespace

// A negative mass fills the tank; any other is taken as it is, above the
// capacity too, as in the simulator's Vessel::CreatePropellantResource.
PROPELLANT_HANDLE VESSEL::CreatePropellantResource(double maxmass, double mass, double efficiency) const {
  sim::Vessel *v = self(this, "CreatePropellantResource");
  if (!v) return nullptr;
  sim::World *w = sim::World::current();
  const sim::Id id = w->nextId();
  const double m = mass < 0 ? maxmass : mass;
  v->tanks.push_back({id, maxmass, m, efficiency});
  v->leaveUnregistered(m, w->simTime());
  if (!v->defaultTank) v->defaultTank = id;
  return sim::handleOf(id);
}

// Thrusters that drew on the tank are left without one, and the module's
// handle is cleared so that it cannot name the tank again.
void VESSEL::DelPropellantResource(PROPELLANT_HANDLE &ph) const {
  sim::Vessel *v = self(this, "DelPropellantResource");
  sim::Tank *t = v ? tankOf(*v, ph, "DelPropellantResource") : nullptr;
  if (!t) return;
  const sim::Id id = t->id;
  const size_t index = t - v->tanks.data();
  v->leaveUnregistered(-t->mass, sim::World::current()->simTime());
  v->tanks.erase(v->tanks.begin() + index);
  for (sim::Thruster &th : v->thrusters)
    if (th.tank == id) th.tank = 0;
  if (v->defaultTank == id) v->defaultTank = v->tanks.empty() ? 0 : v->tanks.front().id;
  ph = nullptr;
  if (!sim::World::current()->loadingScenario())
    sim::World::current()->record().record(v->name, sim::EventKind::tankDeleted, "tank " + std::to_string(index));
}

void VESSEL::SetDefaultPropellantResource(PROPELLANT_HANDLE ph) const {
  sim::Vessel *v = self(this, "SetDefaultPropellantResource");
  if (sim::Tank *t = v ? tankOf(*v, ph, "SetDefaultPropellantResource") : nullptr) v->defaultTank = t->id;
}

double VESSEL::GetPropellantMass(PROPELLANT_HANDLE ph) const {
  sim::Vessel *v = self(this, "GetPropellantMass");
  sim::Tank *t = v ? tankOf(*v, ph, "GetPropellantMass") : nullptr;
  return t ? t->mass : 0;
}

double VESSEL::GetPropellantMaxMass(PROPELLANT_HANDLE ph) const {
  sim::Vessel *v = self(this, "GetPropellantMaxMass");
  sim::Tank *t = v ? tankOf(*v, ph, "GetPropellantMaxMass") : nullptr;
  return t ? t->maxMass : 0;
}

double VESSEL::GetMaxFuelMass() const {
  sim::Vessel *v = self(this, "GetMaxFuelMass");
  sim::Tank *t = v ? defaultTank(*v) : nullptr;
  return t ? t->maxMass : 0;
}

double VESSEL::GetFuelMass() const {
  sim::Vessel *v = self(this, "GetFuelMass");
  sim::Tank *t = v ? defaultTank(*v) : nullptr;
  return t ? t->mass : 0;
}

// Capped at the tank's capacity only, and the mass register takes in every
// tank, as the simulator's Vessel::SetPropellantMass does.
void VESSEL::SetFuelMass(double m) const {
  sim::Vessel *v = self(this, "SetFuelMass");
  sim::Tank *t = v ? defaultTank(*v) : nullptr;
  if (!t) return;
  t->mass = std::min(m, t->maxMass);
  v->registerMass();
}
