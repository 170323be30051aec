// The speed through the air.
#include "sim/physics/aerodynamics.h"

#include "sim/world/vessel.h"

namespace sim {
namespace physics {

double airspeed(const Vessel &v, const Planet &p, double t) {
  return length(v.vel - airVelocity(p.poseAt(t).spin, v.pos));
}

}  // namespace physics
}  // namespace sim
