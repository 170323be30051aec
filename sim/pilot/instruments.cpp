#include "sim/pilot/instruments.h"

#include <algorithm>
#include <cmath>

#include "sim/physics/aerodynamics.h"
#include "sim/physics/planet/orbit.h"

namespace sim {
namespace pilot {
namespace {

// Below this horizontal share of the nose (about 0.06 degrees from the
// vertical) the nose's own heading is noise.
const double kVerticalNose = 1e-3;

const double kPolarNorth = 1e-9;  // horizontal share of the axis below which a place counts as a pole

// A direction square to the unit vector a.
VECTOR3 squareTo(const VECTOR3 &a) {
  const VECTOR3 other = std::fabs(a.x) < 0.5 ? _V(1, 0, 0) : _V(0, 0, 1);
  return crossp(a, other);
}

}  // namespace

// Over a pole every way is south: north is taken square to the axis there,
// and at the centre up along the axis, so that headings stay numbers.
Horizon horizonAt(const VECTOR3 &pos, const VECTOR3 &axis) {
  Horizon h;
  h.up = length(pos) > 0 ? unit(pos) : axis;
  VECTOR3 north = axis - h.up * dotp(axis, h.up);
  if (length(north) < kPolarNorth) north = squareTo(h.up);
  h.north = unit(north);
  h.east = crossp(h.up, h.north);
  return h;
}

double pitchOf(const Mat3 &rot, const Horizon &h) {
  return std::asin(std::clamp(dotp(rot.column(2), h.up), -1.0, 1.0));
}

Attitude attitudeOf(const Mat3 &rot, const Horizon &h) {
  const VECTOR3 nose = rot.column(2), top = rot.column(1);
  Attitude a;
  a.pitch = pitchOf(rot, h);
  const VECTOR3 flat = nose - h.up * dotp(nose, h.up);
  if (length(flat) < kVerticalNose) {
    const VECTOR3 downRange = top * (a.pitch > 0 ? -1.0 : 1.0);
    a.heading = std::atan2(dotp(downRange, h.east), dotp(downRange, h.north));
    return a;
  }
  a.heading = std::atan2(dotp(flat, h.east), dotp(flat, h.north));
  const Mat3 level = frameFor(a.pitch, a.heading, h);
  a.bank = std::atan2(dotp(top, level.column(0)), dotp(top, level.column(1)));
  return a;
}

Mat3 frameFor(double pitch, double heading, const Horizon &h) {
  const VECTOR3 downRange = h.north * std::cos(heading) + h.east * std::sin(heading);
  const VECTOR3 nose = h.up * std::sin(pitch) + downRange * std::cos(pitch);
  const VECTOR3 top = h.up * std::cos(pitch) - downRange * std::sin(pitch);
  return Mat3::fromColumns(crossp(top, nose), top, nose);
}

double altitudeOf(const Vessel &v, const physics::Planet &p) { return length(v.pos) - p.radius; }

VECTOR3 airVelocityOf(const Vessel &v, const physics::PlanetPose &pose) {
  return v.vel - physics::airVelocity(pose.spin, v.pos);
}

double flightPathAngleOf(const VECTOR3 &air, double airspeed, const Horizon &h) {
  return airspeed > 0 ? std::asin(std::clamp(dotp(air, h.up) / airspeed, -1.0, 1.0)) : 0;
}

physics::Orbit orbitOf(const Vessel &v, const physics::Planet &p, const physics::PlanetPose &pose) {
  return physics::orbitOf(p, v.pos, v.vel, pose.axis());
}

Instruments readInstruments(const Vessel &v, const physics::Planet &p, const physics::PlanetPose &pose) {
  Instruments in;
  const Horizon h = horizonAt(v.pos, pose.axis());
  in.altitude = altitudeOf(v, p);
  in.speed = length(v.vel);
  const VECTOR3 air = airVelocityOf(v, pose);
  in.airspeed = length(air);
  in.flightPathAngle = flightPathAngleOf(air, in.airspeed, h);
  in.mass = v.mass();
  in.attitude = attitudeOf(v.rot, h);
  in.rates = v.omega;
  in.orbit = orbitOf(v, p, pose);
  return in;
}

}  // namespace pilot
}  // namespace sim
