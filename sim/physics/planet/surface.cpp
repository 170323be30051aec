// Landed placement: a vessel standing on its three touchdown points.
//
// The vessel is first turned by the smallest rotation that takes the up-normal
// of its touchdown plane onto its own +y axis; that turned frame is then set
// up the usual way, +y along the local vertical and +z towards the heading.
#include "sim/physics/planet/surface.h"

#include <cmath>

#include "sim/world/vessel.h"

namespace sim {
namespace physics {
namespace {

// Local vertical, north and east at the surface point (lng, lat), global frame.
struct SurfaceFrame {
  VECTOR3 up, north, east;
};

// The sines and cosines of a longitude and latitude.
struct SurfacePoint {
  double ca, sa, cl, sl;
};
SurfacePoint surfacePoint(double lng, double lat) {
  return {std::cos(lng), std::sin(lng), std::cos(lat), std::sin(lat)};
}

SurfaceFrame surfaceFrame(const PlanetPose &pose, const SurfacePoint &s) {
  const double ca = s.ca, sa = s.sa, cl = s.cl, sl = s.sl;
  return {pose.rot * _V(cl * ca, sl, cl * sa), pose.rot * _V(-sl * ca, cl, -sl * sa), pose.rot * _V(-sa, 0, ca)};
}

// The smallest rotation taking the unit vector n onto +y.
Mat3 turnOntoY(const VECTOR3 &n) {
  const double c = n.y;
  if (c < -1 + 1e-12) return {{{1, 0, 0}, {0, -1, 0}, {0, 0, -1}}};
  const VECTOR3 a = _V(-n.z, 0, n.x);  // n x (0, 1, 0)
  const double k = 1 / (1 + c);
  const Mat3 ax{{{0, -a.z, a.y}, {a.z, 0, -a.x}, {-a.y, a.x, 0}}};
  const Mat3 ax2 = ax * ax;
  Mat3 q = Mat3::identity();
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) q.m[i][j] += ax.m[i][j] + k * ax2.m[i][j];
  return q;
}

}  // namespace

TouchdownPlane touchdownPlane(const Vessel &v) {
  const VECTOR3 &p0 = v.touchdown[0];
  const VECTOR3 n = crossp(v.touchdown[1] - p0, v.touchdown[2] - p0);
  const double len = length(n);
  if (len < 1e-12) return {_V(0, 1, 0), -p0.y};  // collinear points: stand on +y
  TouchdownPlane plane{n / len, -dotp(n, p0) / len};
  if (plane.height < 0) plane = {-plane.normal, -plane.height};
  return plane;
}

void placeOnSurface(Vessel &v, const Planet &p, double lng, double lat, double heading, double t) {
  placeOnSurface(v, p, lng, lat, heading, p.poseAt(t));
}

namespace {

bool sameTouchdown(const VECTOR3 (&a)[3], const VECTOR3 (&b)[3]) {
  for (int i = 0; i < 3; ++i)
    if (!(a[i].x == b[i].x && a[i].y == b[i].y && a[i].z == b[i].z)) return false;
  return true;
}

}  // namespace

void placeOnSurface(Vessel &v, const Planet &p, double lng, double lat, double heading, const PlanetPose &pose) {
  // A vessel held on the ground is placed anew every frame at the same point:
  // what depends on the point and its touchdown points alone is kept.
  Vessel::Standing &s = v.standing;
  if (!(s.lng == lng && s.lat == lat && s.heading == heading && sameTouchdown(s.touchdown, v.touchdown))) {
    const TouchdownPlane plane = touchdownPlane(v);
    const SurfacePoint at = surfacePoint(lng, lat);
    s = {lng,
         lat,
         heading,
         {v.touchdown[0], v.touchdown[1], v.touchdown[2]},
         at.ca,
         at.sa,
         at.cl,
         at.sl,
         std::cos(heading),
         std::sin(heading),
         turnOntoY(plane.normal),
         plane.height};
  }
  const SurfaceFrame f = surfaceFrame(pose, {s.ca, s.sa, s.cl, s.sl});
  const double ch = s.ch, sh = s.sh;
  const VECTOR3 forward = f.north * ch + f.east * sh;
  const VECTOR3 right = f.east * ch - f.north * sh;
  v.rot = Mat3::fromColumns(right, f.up, forward) * s.turn;
  v.pos = f.up * (p.radius + s.height);
  v.vel = carriedVelocity(pose.spin, v.pos);
  v.omega = v.rot.tmul(pose.spin);
  v.landed = true;
  v.surfLng = lng;
  v.surfLat = lat;
  v.surfHeading = heading;
}

double headingOf(const Vessel &v, const Planet &p, const Mat3 &rot, const VECTOR3 &pos, double t) {
  const Mat3 turned = rot * turnOntoY(touchdownPlane(v).normal).transposed();
  double lng, lat, alt;
  toSurface(p, pos, t, lng, lat, alt);
  const SurfaceFrame f = surfaceFrame(p.poseAt(t), surfacePoint(lng, lat));
  VECTOR3 forward = turned.column(2);
  // A frame pitched straight up or down has no forward heading: the top of a
  // frame pitched up faces back, that of one pitched down faces forward.
  const double upright = dotp(forward, f.up);
  if (std::fabs(upright) > 0.999) forward = turned.column(1) * (upright > 0 ? -1.0 : 1.0);
  return std::atan2(dotp(forward, f.east), dotp(forward, f.north));
}

}  // namespace physics
}  // namespace sim
