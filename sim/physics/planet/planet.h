// The planet: a spherical Earth, turned and tilted by date as the simulator's
// Earth configuration says, and the frames tied to it.
//
// Global frame: the simulator's ecliptic J2000 frame, centred on the planet:
// x towards the vernal equinox, y towards the ecliptic north pole, left-handed.
// Planet frame: y along the rotation axis towards north, x at longitude 0; a
// surface point at longitude lng (east positive) and latitude lat has the
// planet-frame direction (cos lat cos lng, sin lat, cos lat sin lng).
//
// The planet's clock t counts seconds from MJD 51544.5 (J2000). With d = t / 86400,
// the axis precesses about the ecliptic pole by L = 2 pi d / precessionPeriod and
// the planet turns by r = rotationOffset + 2 pi t / siderealDay - L cos(obliquity);
// planet frame -> global is Ry(L) Rx(obliquity) Ry(r), where
// Ry(a) = [[cos a, 0, -sin a], [0, 1, 0], [sin a, 0, cos a]] and
// Rx(e) = [[1, 0, 0], [0, cos e, -sin e], [0, sin e, cos e]].
//
// Angular velocities follow the vessel convention: a point at r moves at r x w.
#pragma once

#include <cmath>

#include "sim/physics/mat3.h"

namespace sim {
namespace physics {

// The planet's orientation at one moment.
struct PlanetPose {
  Mat3 rot = Mat3::identity();  // planet frame -> global
  VECTOR3 spin{};               // angular velocity, global frame [rad/s]
  VECTOR3 axis() const { return rot.column(1); }
};

struct Planet {
  double radius = 6371010.0;   // mean radius [m]
  double gm = 3.986004418e14;  // gravitational parameter [m^3/s^2]
  // Rotation, as Config/Earth.cfg of the simulator gives it.
  double siderealDay = 86164.10132;      // SidRotPeriod [s]
  double rotationOffset = 4.88948754;    // SidRotOffset: turn at the epoch [rad]
  double obliquity = 0.4090928023;       // of the axis to the ecliptic pole [rad]
  double precessionPeriod = -9413040.4;  // of the axis about the ecliptic pole [days]

  double rotationRate() const;        // sidereal [rad/s]
  double precessionRate() const;      // of the axis about the ecliptic pole [rad/s]
  PlanetPose poseAt(double t) const;  // at planet time t [s]
  VECTOR3 spinAt(double t) const;     // poseAt(t).spin, the cheaper for not turning the frame

  // The obliquity's sine and cosine as last worked out, and for which value:
  // the pose is asked for every frame, the obliquity never changes in flight.
  mutable double tiltFor = NAN, sinTilt = 0, cosTilt = 1;
};

// Velocity [m/s] of the point at pos carried round by a planet turning at spin.
inline VECTOR3 carriedVelocity(const VECTOR3 &spin, const VECTOR3 &pos) { return crossp(pos, spin); }

// Longitude, latitude [rad] and altitude [m] of a global position at planet time t.
void toSurface(const Planet &p, const VECTOR3 &pos, double t, double &lng, double &lat, double &alt);
// Velocity [m/s] of the point at pos carried round by the planet at planet time t.
VECTOR3 surfaceVelocity(const Planet &p, const VECTOR3 &pos, double t);

}  // namespace physics
}  // namespace sim
