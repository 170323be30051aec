#include "sim/api/status.h"

#include <algorithm>
#include <cstring>

#include "sim/physics/planet/attitude.h"
#include "sim/physics/planet/surface.h"

namespace sim {

void fillStatus(const Vessel &v, OBJHANDLE rbody, VESSELSTATUS &s) {
  std::memset(&s, 0, sizeof s);
  s.rpos = v.pos;
  s.rvel = v.vel;
  s.vrot = v.omega;
  s.arot = physics::arotFromRot(v.rot);
  if (!v.tanks.empty() && v.tanks.front().maxMass > 0) s.fuel = v.tanks.front().mass / v.tanks.front().maxMass;
  s.eng_main = v.groupLevel(THGROUP_MAIN);
  s.eng_hovr = v.groupLevel(THGROUP_HOVER);
  s.rbody = rbody;
  if (v.landed) {
    s.status = 1;
    s.vdata[0] = _V(v.surfLng, v.surfLat, v.surfHeading);
  }
}

void applyStatus(Vessel &v, const VESSELSTATUS &s, const physics::Planet &p, double t) {
  v.crashed = false;
  if (s.status == 1) {
    physics::placeOnSurface(v, p, s.vdata[0].x, s.vdata[0].y, s.vdata[0].z, t);
  } else {
    v.landed = false;
    v.pos = s.rpos;
    v.vel = s.rvel;
    v.rot = physics::rotFromArot(s.arot);
    v.omega = s.vrot;
  }
  if (!v.tanks.empty()) v.tanks.front().mass = std::clamp(s.fuel, 0.0, 1.0) * v.tanks.front().maxMass;
}

}  // namespace sim
