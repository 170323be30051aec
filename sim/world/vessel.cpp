// Look-ups on a vessel's definition, shared by the VESSEL methods and the executive.
#include "sim/world/vessel.h"

#include <algorithm>

namespace sim {

double Vessel::mass() const {
  double m = emptyMass;
  for (const Tank &t : tanks) m += t.mass;
  return m;
}

double Vessel::reportedMass(double simt) const { return mass() - (simt == unregisteredSince ? unregisteredMass : 0); }

void Vessel::leaveUnregistered(double kg, double simt) {
  if (simt != unregisteredSince) unregisteredMass = 0;
  unregisteredSince = simt;
  unregisteredMass += kg;
}

void Vessel::finishSetup() {
  if (pmi.x < 0) pmi.x = 2 * size;
  if (pmi.y < 0) pmi.y = 2 * size;
  if (pmi.z < 0) pmi.z = size;
  registerMass();
}

Tank *Vessel::tank(Id id) {
  for (Tank &t : tanks)
    if (t.id == id) return &t;
  return nullptr;
}

Thruster *Vessel::thruster(Id id) {
  for (Thruster &t : thrusters)
    if (t.id == id) return &t;
  return nullptr;
}

ThrusterGroup *Vessel::group(THGROUP_TYPE type) {
  for (ThrusterGroup &g : groups)
    if (g.type == type) return &g;
  return nullptr;
}

const ThrusterGroup *Vessel::group(THGROUP_TYPE type) const { return const_cast<Vessel *>(this)->group(type); }

double Vessel::groupLevel(THGROUP_TYPE type) const {
  const ThrusterGroup *g = group(type);
  if (!g || g->thrusters.empty()) return 0;
  double sum = 0;
  for (Id id : g->thrusters) {
    const Thruster *th = const_cast<Vessel *>(this)->thruster(id);
    if (th) sum += th->level;
  }
  return sum / g->thrusters.size();
}

}  // namespace sim
