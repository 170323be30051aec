// Standing on the planet: a landed vessel placed on its touchdown points at a
// surface point, and the heading such a placement gives.
#pragma once

#include "sim/physics/planet/planet.h"

namespace sim {
struct Vessel;

namespace physics {

// Places a landed vessel on its touchdown points at the surface point
// (lng, lat) [rad] with heading [rad] at time t: sets pos, vel, rot and omega,
// and marks it landed there (landed, surfLng, surfLat, surfHeading).
void placeOnSurface(Vessel &v, const Planet &p, double lng, double lat, double heading, double t);
// The same with the planet's pose at that time already worked out.
void placeOnSurface(Vessel &v, const Planet &p, double lng, double lat, double heading, const PlanetPose &pose);
// The plane of a vessel's three touchdown points, in its own frame: the unit
// normal on the side of the vessel's origin, and the origin's height above the plane [m].
struct TouchdownPlane {
  VECTOR3 normal;
  double height = 0;
};
TouchdownPlane touchdownPlane(const Vessel &v);
// Heading [rad] that placeOnSurface would give for attitude rot at position pos and time t.
double headingOf(const Vessel &v, const Planet &p, const Mat3 &rot, const VECTOR3 &pos, double t);

}  // namespace physics
}  // namespace sim
