// The VESSELSTATUS record as the simulator's Vessel::GetState fills it and its
// Vessel::SetState reads it (Vesselstatus.cpp).
#include "sim/api/status.h"

#include <algorithm>
#include <cstring>

#include "sim/physics/planet/attitude.h"
#include "sim/physics/planet/surface.h"

namespace sim {
namespace {

// The bits of flag[0] that SetState heeds; GetState leaves both clear.
const DWORD kEngineLevels = 1;  // eng_main (negative: the retro group) and eng_hovr
const DWORD kFuelLevel = 2;     // fuel, of the default tank

}  // namespace

void fillStatus(const Vessel &v, const Vessel::Kinematics &motion, OBJHANDLE rbody, const physics::Planet &p,
                const physics::PlanetPose &pose, VESSELSTATUS &s) {
  std::memset(&s, 0, sizeof s);
  s.rpos = motion.pos;
  s.rvel = motion.vel;
  s.rbody = rbody;
  s.port = -1;  // on no landing pad
  if (!v.tanks.empty()) s.fuel = v.tanks.front().maxMass ? v.tanks.front().mass / v.tanks.front().maxMass : 0;
  s.eng_main = v.groupLevel(THGROUP_MAIN);
  if (!s.eng_main) s.eng_main = -v.groupLevel(THGROUP_RETRO);
  s.eng_hovr = v.groupLevel(THGROUP_HOVER);
  if (!v.landed) {
    s.vrot = motion.omega;
    s.arot = physics::arotFromRot(motion.rot);
    return;
  }
  // On the ground: the altitude where the spin would be, and the attitude
  // against the planet's own frame, which stays as it is while landed.
  s.status = 1;
  s.vrot.x = length(motion.pos) - p.radius;
  s.arot = physics::arotFromRot(pose.rot.transposed() * v.rot);
  s.vdata[0] = _V(v.surfLng, v.surfLat, v.surfHeading);
}

void applyStatus(Vessel &v, const VESSELSTATUS &s, const physics::Planet &p, double t) {
  Tank *fuelled = s.flag[0] & kFuelLevel ? v.tank(v.defaultTank) : nullptr;
  if (fuelled) fuelled->mass = std::min(s.fuel * fuelled->maxMass, fuelled->maxMass);
  if (s.flag[0] & kEngineLevels) {
    v.iface->SetThrusterGroupLevel(THGROUP_MAIN, std::max(s.eng_main, 0.0));
    v.iface->SetThrusterGroupLevel(THGROUP_RETRO, std::max(-s.eng_main, 0.0));
    v.iface->SetThrusterGroupLevel(THGROUP_HOVER, s.eng_hovr);
  }
  if (s.status == 1) {
    v.crashed = false;
    physics::placeOnSurface(v, p, s.vdata[0].x, s.vdata[0].y, s.vdata[0].z, t);
  } else {
    v.setFlying({s.rpos, s.rvel, physics::rotFromArot(s.arot), s.vrot});
  }
}

}  // namespace sim
