// The simulator's global functions, acting on the current world.
#include <cstdio>
#include <cstring>

#include "sim/api/vessel_api.h"
#include "sim/physics/aerodynamics.h"

namespace {

sim::World *world(const char *function) {
  sim::World *w = sim::World::current();
  if (!w) std::fprintf(stderr, "%s called with no world\n", function);
  return w;
}

sim::Vessel *vessel(sim::World &w, OBJHANDLE h, const char *function) {
  sim::Vessel *v = w.fromHandle(h);
  if (!v) w.log().refused(std::string(function) + " on a handle that names no vessel");
  return v;
}

}  // namespace

OBJHANDLE oapiCreateVessel(const char *name, const char *classname, const VESSELSTATUS &status) {
  sim::World *w = world("oapiCreateVessel");
  if (!w) return nullptr;
  if (!name || !classname) {
    w->log().refused("oapiCreateVessel without a name or class");
    return nullptr;
  }
  return w->createVessel(name, classname, &status);
}

// Takes effect at the end of the frame under way, as in the simulator.
bool oapiDeleteVessel(OBJHANDLE hVessel, OBJHANDLE) {
  sim::World *w = world("oapiDeleteVessel");
  sim::Vessel *v = w ? w->fromHandle(hVessel) : nullptr;
  if (!v) {
    if (w) w->log().refused("oapiDeleteVessel of a handle that names no vessel");
    return false;
  }
  w->deleteVessel(v);
  return true;
}

VESSEL *oapiGetVesselInterface(OBJHANDLE hVessel) {
  sim::World *w = world("oapiGetVesselInterface");
  sim::Vessel *v = w ? vessel(*w, hVessel, "oapiGetVesselInterface") : nullptr;
  return v ? v->iface : nullptr;
}

OBJHANDLE oapiGetVesselByName(char *name) {
  sim::World *w = world("oapiGetVesselByName");
  return w && name ? w->find(name) : nullptr;
}

bool oapiGetAirspeed(OBJHANDLE hVessel, double *airspeed) {
  sim::World *w = world("oapiGetAirspeed");
  sim::Vessel *v = w ? vessel(*w, hVessel, "oapiGetAirspeed") : nullptr;
  if (!v || !airspeed) return false;
  *airspeed = sim::physics::airspeed(*v, w->planet, w->planetTime());
  return true;
}

double oapiGetTimeAcceleration() {
  sim::World *w = world("oapiGetTimeAcceleration");
  return w ? w->timeAcceleration : 1;
}

double oapiGetSimTime() {
  sim::World *w = world("oapiGetSimTime");
  return w ? w->simTime() : 0;
}

char *oapiDebugString() {
  static char spare[256];
  sim::World *w = world("oapiDebugString");
  return w ? w->cockpit().debugString() : spare;
}

MESHHANDLE oapiLoadMeshGlobal(const char *fname) {
  sim::World *w = world("oapiLoadMeshGlobal");
  return w && fname ? w->resources().loadMeshGlobal(fname) : nullptr;
}

MESHHANDLE oapiLoadMesh(const char *fname) {
  sim::World *w = world("oapiLoadMesh");
  return w && fname ? w->resources().loadMesh(fname) : nullptr;
}

SURFHANDLE oapiRegisterExhaustTexture(char *name) {
  sim::World *w = world("oapiRegisterExhaustTexture");
  return w && name ? w->resources().registerTexture(name, false) : nullptr;
}

SURFHANDLE oapiRegisterParticleTexture(char *name) {
  sim::World *w = world("oapiRegisterParticleTexture");
  return w && name ? w->resources().registerTexture(name, true) : nullptr;
}
