#include "sim/api/vessel_api.h"

namespace sim {
namespace api {

void refuse(const std::string &text) {
  if (World *w = World::current()) w->log().refused(text);
}

Vessel *self(const VESSEL *iface, const char *method) {
  World *w = World::current();
  Vessel *v = w ? w->fromHandle(iface->GetHandle()) : nullptr;
  if (!v) refuse(std::string("VESSEL::") + method + " on an interface whose vessel is gone");
  return v;
}

Tank *tankOf(Vessel &v, PROPELLANT_HANDLE h, const char *method) {
  Tank *t = v.tank(idOf(h));
  if (!t) refuse(std::string("VESSEL::") + method + ": " + v.name + " has no tank " + std::to_string(idOf(h)));
  return t;
}

Thruster *thrusterOf(Vessel &v, THRUSTER_HANDLE h, const char *method) {
  Thruster *t = v.thruster(idOf(h));
  if (!t) refuse(std::string("VESSEL::") + method + ": " + v.name + " has no thruster " + std::to_string(idOf(h)));
  return t;
}

}  // namespace api
}  // namespace sim
