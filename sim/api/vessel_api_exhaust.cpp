// VESSEL: exhaust flames and particle streams, kept as definitions only.
#include <algorithm>

#include "sim/api/vessel_api.h"

using sim::api::self;
using sim::api::thrusterOf;

namespace {

bool isAttitude(THGROUP_TYPE t) { return t >= THGROUP_ATT_PITCHUP && t <= THGROUP_ATT_BACK; }

bool drivesAttitude(const sim::Vessel &v, sim::Id thruster) {
  for (const sim::ThrusterGroup &g : v.groups)
    if (isAttitude(g.type) && std::count(g.thrusters.begin(), g.thrusters.end(), thruster)) return true;
  return false;
}

UINT addExhaust(const VESSEL *iface, THRUSTER_HANDLE th, sim::Exhaust e) {
  sim::Vessel *v = self(iface, "AddExhaust");
  sim::Thruster *t = v ? thrusterOf(*v, th, "AddExhaust") : nullptr;
  if (!t) return ~0u;
  e.thruster = t->id;
  v->exhausts.push_back(e);
  return static_cast<UINT>(v->exhausts.size() - 1);
}

PSTREAM_HANDLE addStream(const VESSEL *iface, THRUSTER_HANDLE th, sim::Stream s, const PARTICLESTREAMSPEC *pss) {
  sim::Vessel *v = self(iface, "AddExhaustStream");
  sim::Thruster *t = v ? thrusterOf(*v, th, "AddExhaustStream") : nullptr;
  if (!t) return nullptr;
  s.thruster = t->id;
  if (pss) s.particles = *pss;
  v->streams.push_back(s);
  return sim::handleOf(sim::World::current()->nextId());
}

}  // namespace

void VESSEL::ClearExhaustRefs() const {
  if (sim::Vessel *v = self(this, "ClearExhaustRefs")) v->exhausts.clear();
}

void VESSEL::ClearAttExhaustRefs() const {
  sim::Vessel *v = self(this, "ClearAttExhaustRefs");
  if (!v) return;
  auto att = [v](const sim::Exhaust &e) { return drivesAttitude(*v, e.thruster); };
  v->exhausts.erase(std::remove_if(v->exhausts.begin(), v->exhausts.end(), att), v->exhausts.end());
}

UINT VESSEL::AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, SURFHANDLE tex) const {
  return addExhaust(this, th, {0, lscale, wscale, false, _V(0, 0, 0), _V(0, 0, 0), tex});
}

UINT VESSEL::AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, const VECTOR3 &pos, const VECTOR3 &dir,
                        SURFHANDLE tex) const {
  return addExhaust(this, th, {0, lscale, wscale, true, pos, dir, tex});
}

PSTREAM_HANDLE VESSEL::AddExhaustStream(THRUSTER_HANDLE th, PARTICLESTREAMSPEC *pss) const {
  return addStream(this, th, {0, false, _V(0, 0, 0), {}}, pss);
}

PSTREAM_HANDLE VESSEL::AddExhaustStream(THRUSTER_HANDLE th, const VECTOR3 &pos, PARTICLESTREAMSPEC *pss) const {
  return addStream(this, th, {0, true, pos, {}}, pss);
}
