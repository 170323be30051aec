// The planet: a spherical, rotating Earth and the frames tied to it.
//
// Global frame: planet-centred, non-rotating, y along the rotation axis
// towards north. A surface point at longitude lng (east positive) and
// latitude lat has, at simulation time t, the global direction
// (cos lat cos(lng + w t), sin lat, cos lat sin(lng + w t)), w the rotation rate.
//
// Angular velocities follow the vessel convention: a point at r moves at
// r x w, so the planet's own angular velocity is (0, w, 0).
#pragma once

#include "../mat3.h"

namespace sim {
struct Vessel;

namespace physics {

struct Planet {
  double radius = 6371010.0;         // mean radius [m]
  double gm = 3.986004418e14;        // gravitational parameter [m^3/s^2]
  double siderealDay = 86164.10132;  // rotation period [s]
  double rotationRate() const;       // [rad/s]
};

// Places a landed vessel on its touchdown points at the surface point
// (lng, lat) [rad] with heading [rad] at time t: sets pos, vel, rot and omega,
// and marks it landed there (landed, surfLng, surfLat, surfHeading).
void placeOnSurface(Vessel &v, const Planet &p, double lng, double lat, double heading, double t);
// Longitude, latitude [rad] and altitude [m] of a global position at time t.
void toSurface(const Planet &p, const VECTOR3 &pos, double t, double &lng, double &lat, double &alt);
// Velocity [m/s] of the point at pos carried round by the planet's rotation.
VECTOR3 surfaceVelocity(const Planet &p, const VECTOR3 &pos);
// The planet's turn through angle [rad] about its axis, as a rotation of the global frame.
Mat3 planetTurn(double angle);

// The plane of a vessel's three touchdown points, in its own frame: the unit
// normal on the side of the vessel's origin, and the origin's height above the plane [m].
struct TouchdownPlane {
  VECTOR3 normal;
  double height = 0;
};
TouchdownPlane touchdownPlane(const Vessel &v);
// Heading [rad] that placeOnSurface would give for attitude rot at position pos and time t.
double headingOf(const Vessel &v, const Planet &p, const Mat3 &rot, const VECTOR3 &pos, double t);

// Orbit of a state relative to the planet: altitudes above the mean radius.
// The global frame is left-handed: an orbit that goes round with the planet
// (eastward) has its r x v (component formula) along -y, inclination below 90 deg.
struct Orbit {
  bool bound = false;
  double periapsisAlt = 0;   // [m]
  double apoapsisAlt = 0;    // [m]; meaningful only when bound
  double semiMajorAxis = 0;  // [m]; negative when not bound, infinite on a parabola
  double eccentricity = 0;
  double inclination = 0;    // to the equator, 0..pi [rad]; 0 for a radial path
  double period = HUGE_VAL;  // [s]; infinite when not bound
};
Orbit orbitOf(const Planet &p, const VECTOR3 &pos, const VECTOR3 &vel);

// Attitude angles of a status record (arot) and the axes they stand for: the
// exact inverse of the angles (atan2(Z.y, Z.z), asin(-Z.x/|Z|), atan2(Y.x, X.x))
// of a vessel's global axes X, Y, Z. The axes are Rx(-a0) Ry(-a1) Rz(-a2) in
// right-handed matrix terms; angles come back in (-pi, pi], [-pi/2, pi/2], (-pi, pi].
Mat3 rotFromArot(const VECTOR3 &arot);
VECTOR3 arotFromRot(const Mat3 &rot);

}  // namespace physics
}  // namespace sim
