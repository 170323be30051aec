#include "sim/physics/planet/ground.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <tuple>

#include "sim/physics/planet/surface.h"
#include "tests/support/tree.h"

using namespace sim;

namespace {

// The launcher's touchdown points: the tail at z = -17, so it stands on its engines.
const char *const kRocketClass =
    "Mass = 20000\nSize = 3\nInertia = 30 30 2\nTouchdownPoints = 0 -1 -17  -0.7 0.7 -17  0.7 0.7 -17\n";

VECTOR3 north(double lng, double lat, double t, const physics::Planet &p) {
  return p.poseAt(t).rot * _V(-std::sin(lat) * std::cos(lng), std::cos(lat), -std::sin(lat) * std::sin(lng));
}
VECTOR3 east(double lng, double t, const physics::Planet &p) {
  return p.poseAt(t).rot * _V(-std::sin(lng), 0, std::cos(lng));
}

// On the surface at planet time t, a proper rotation, and every point of it
// carried round with the ground.
void expectOnItsPoints(const Vessel &v, const physics::Planet &p, double t) {
  EXPECT_NEAR(length(crossp(v.rot.column(0), v.rot.column(1)) - v.rot.column(2)), 0, 1e-12);
  for (const VECTOR3 &td : v.touchdown) {
    const VECTOR3 at = v.pos + v.rot * td, moving = v.vel + v.rot * crossp(td, v.omega);
    EXPECT_NEAR(length(at), p.radius, 1e-6);
    EXPECT_NEAR(length(moving - physics::surfaceVelocity(p, at, t)), 0, 1e-9);
  }
}

// Where the planet at planet time t1 has carried a point that was at pos at t0.
VECTOR3 carried(const physics::Planet &p, const VECTOR3 &pos, double t0, double t1) {
  return p.poseAt(t1).rot * p.poseAt(t0).rot.tmul(pos);
}

double altitude(const Vessel &v, const physics::Planet &p) { return length(v.pos) - p.radius; }

int count(const World &w, const std::string &vessel, const std::string &kind) {
  int n = 0;
  for (const Event &e : w.record().events()) n += e.vessel == vessel && sim::eventKindName(e.kind) == kind;
  return n;
}

}  // namespace

// Earth's north pole and prime meridian in the global frame at J2000 and
// 26 years on, as the simulator's Earth configuration turns, tilts and
// precesses them (figures of its own, worked out from its rotation formula).
TEST(planet, is_turned_and_tilted_by_date_as_the_simulators_earth) {
  const physics::Planet earth;
  struct Case {
    double mjd;
    VECTOR3 axis, meridian;
  } cases[] = {{51544.5, _V(0, 0.917482, 0.397777), _V(0.176174, 0.391556, -0.903132)},
               {61000.5, _V(0.002511, 0.917482, 0.397769), _V(-0.499982, 0.345635, -0.794075)}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.mjd);
    const physics::PlanetPose pose = earth.poseAt((c.mjd - 51544.5) * 86400);
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(pose.axis().data[i], c.axis.data[i], 1e-6);
      EXPECT_NEAR(pose.rot.column(0).data[i], c.meridian.data[i], 1e-6);
    }
    // It turns eastwards about that axis once a sidereal day.
    EXPECT_NEAR(dotp(pose.spin, pose.axis()), earth.rotationRate(), 1e-10);
    EXPECT_NEAR(length(crossp(pose.spin, pose.axis())), 0, 1e-10);
    const VECTOR3 before = earth.poseAt((c.mjd - 51544.5) * 86400 - 1).rot.column(0);
    const VECTOR3 after = earth.poseAt((c.mjd - 51544.5) * 86400 + 1).rot.column(0);
    EXPECT_NEAR(length((after - before) / 2 - physics::carriedVelocity(pose.spin, pose.rot.column(0))), 0, 1e-10);
  }
}

// A vessel found clear of the ground skips the ground's tests: none that the
// ground could reach in the step may be found clear, however it moves against
// the turning planet (here at the equator, against its turn, still and with it).
TEST(ground_contact, is_looked_for_whenever_the_step_may_reach_it) {
  const physics::Planet p;
  const VECTOR3 spin = p.spinAt(0), out = unit(crossp(spin, _V(1, 0, 0))), turn = crossp(out, spin) * p.radius;
  int near = 0, clear = 0;
  for (const double h : {0.02, 1.0})
    for (const VECTOR3 &vel : {turn * -1, _V(0, 0, 0), turn, out * -100})
      for (double alt = 0; alt < 1000; alt += alt < 40 ? 0.25 : 10) {
        Vessel v;
        v.pos = out * (p.radius + alt);
        v.vel = vel;
        const bool isNear = physics::nearGround(v, p, spin, h),
                   isClear = physics::clearOfGround(v, p, length(v.pos), h, physics::fastestSpin(p));
        ASSERT_FALSE(isNear && isClear) << alt << " m, step " << h << " s";
        near += isNear;
        clear += isClear;
      }
  EXPECT_GT(near, 0);
  EXPECT_GT(clear, 0);
}

// The launcher stands on its tail (up-normal +z), a plain vessel on its y = -1
// plane; touchdown points in a line span no plane, and the host's own choice
// for them is to stand the vessel on its +y at their height.
TEST(landed_placement, stands_on_the_touchdown_plane_with_its_turned_z_along_the_heading) {
  const physics::Planet earth;
  struct Case {
    VECTOR3 td0, td1, td2, up, forward;  // touchdown points; vessel axes along the vertical and the heading
    double height;                       // [m]
  };
  const Case cases[] = {{_V(0, -1, -17), _V(-0.7, 0.7, -17), _V(0.7, 0.7, -17), _V(0, 0, 1), _V(0, -1, 0), 17},
                        {_V(0, -1, 1), _V(-1, -1, -1), _V(1, -1, -1), _V(0, 1, 0), _V(0, 0, 1), 1},
                        {_V(0, -2, 1), _V(0, -2, 0), _V(0, -2, -1), _V(0, 1, 0), _V(0, 0, 1), 2}};
  const double lng = -1.3, lat = 0.5, t = 3.7e8;
  Vessel v;  // the one vessel placed again, turned, and again with other points at the same heading
  const double headings[3][2] = {{1.1, -2.0}, {-2.0, 1.1}, {1.1, -2.0}};
  for (int k = 0; k < 3; ++k)
    for (const double heading : headings[k]) {
      const Case &c = cases[k];
      const VECTOR3 towards = north(lng, lat, t, earth) * std::cos(heading) + east(lng, t, earth) * std::sin(heading);
      v.touchdown[0] = c.td0, v.touchdown[1] = c.td1, v.touchdown[2] = c.td2;
      physics::placeOnSurface(v, earth, lng, lat, heading, t);
      EXPECT_NEAR(dotp(v.rot * c.up, unit(v.pos)), 1, 1e-12);
      EXPECT_NEAR(dotp(v.rot * c.forward, towards), 1, 1e-12);
      EXPECT_NEAR(altitude(v, earth), c.height, 1e-6);
      expectOnItsPoints(v, earth, t);
      EXPECT_NEAR(physics::headingOf(v, earth, v.rot, v.pos, t), heading, 1e-12);
      double lngBack, latBack, alt;
      physics::toSurface(earth, v.pos, t, lngBack, latBack, alt);
      EXPECT_NEAR(lngBack, lng, 1e-12);
      EXPECT_NEAR(latBack, lat, 1e-12);
    }
}

// As in the simulator (Vessel::Update, Vessel::AddSurfaceForces): the first
// push ends the landed state; then the rocket stands on its touchdown points
// as on springs (1000 N/m per kilogram of its empty mass), sagging by what its
// thrust leaves of its weight, carried round with the ground, until its thrust
// exceeds its weight and it climbs off them.
TEST(pad, rocket_stands_on_its_springs_once_it_pushes_and_climbs_when_its_thrust_exceeds_its_weight) {
  ScratchWorld w(kBareProbe);
  w.write("Config/Vessels/Rocket.cfg", kRocketClass);
  VESSELSTATUS landed{};
  landed.status = 1;
  landed.vdata[0] = _V(0.3, 0.9, 1.5);  // longitude, latitude, heading [rad]
  Vessel *v = w->createVessel("rocket", "Rocket", &landed);
  PROPELLANT_HANDLE tank = v->iface->CreatePropellantResource(30000);
  THRUSTER_HANDLE th = v->iface->CreateThruster(_V(0, 0, -17), _V(0, 0, 1), 1e6, tank, 3000);
  const physics::Planet &earth = w->planet;
  const VECTOR3 pos0 = v->pos;
  const double t0 = w->planetTime();
  double lng, lat, alt;  // where the status put it: vdata[0] holds longitude, latitude and heading
  physics::toSurface(earth, pos0, t0, lng, lat, alt);
  EXPECT_NEAR(std::hypot(lng - 0.3, lat - 0.9), 0, 1e-12);
  run(*w, 100);
  EXPECT_TRUE(v->landed);                                                    // no force, no change
  const double weight = v->mass() * earth.gm / std::pow(length(v->pos), 2);  // [N]
  v->iface->SetThrusterLevel(th, 0.8 * weight / 1e6);
  run(*w, 500);
  EXPECT_TRUE(!v->landed && v->tanks[0].mass < 30000);  // burning on the pad
  const double sag = (v->mass() * earth.gm / std::pow(length(v->pos), 2) - 0.8 * weight) / (3 * 20000 * 1e3);  // [m]
  EXPECT_NEAR(altitude(*v, earth), 17 - sag, 0.1 * sag);
  // Friction fades at low speeds (as sqrt(0.1 v) below 10 m/s): it holds the
  // rocket against the planet's turn while creeping at under a centimetre a second.
  EXPECT_LT(length(v->pos - carried(earth, pos0, t0, w->planetTime())), 0.15);
  EXPECT_LT(length(v->vel - physics::surfaceVelocity(earth, v->pos, w->planetTime())), 0.01);
  EXPECT_EQ(count(*w, "rocket", "liftoff") + count(*w, "rocket", "landed"), 0);  // pushing: never landed again

  v->iface->SetThrusterLevel(th, 1.3 * weight / 1e6);
  run(*w, 10);
  EXPECT_EQ(count(*w, "rocket", "liftoff"), 1);
  run(*w, 250);
  EXPECT_GT(altitude(*v, earth) - 17, 0.5 * 0.3 * 9.8 * 25);  // at least 0.3 g for 5 s
  EXPECT_GT(dotp(v->vel, v->pos), 0);
}

// A vessel reaching the ground is not stopped there: its springs take it, a
// touchdown faster than a landing is recorded as a crash, and once it has
// lain still for five seconds it is landed where it lies, turning with the
// planet (the simulator's Vessel::CheckLanded; its core has no crashed state).
TEST(touchdown, a_vessel_rests_on_its_springs_and_is_landed_after_lying_still_a_fast_one_recorded_as_a_crash) {
  ScratchWorld w(kBareProbe);
  const physics::Planet &earth = w->planet;
  // At the north pole, turned as the planet's frame is, so that it stands upright on its y = -1 plane.
  const Mat3 polar = earth.poseAt(w->planetTime()).rot;
  Vessel *gentle = flying(*w, "gentle", polar * _V(0, earth.radius + 1.2, 0), polar * _V(0, -1, 0));
  Vessel *fast = flying(*w, "fast", polar * _V(50, earth.radius + 3, 0), polar * _V(0, -60, 0));
  gentle->rot = fast->rot = polar;
  gentle->omega = fast->omega = polar.tmul(earth.poseAt(w->planetTime()).spin);
  run(*w, 25);
  EXPECT_FALSE(gentle->landed || fast->landed);
  EXPECT_TRUE(gentle->touching && fast->touching && fast->crashed && !gentle->crashed);
  EXPECT_GT(length(fast->vel - physics::surfaceVelocity(earth, fast->pos, w->planetTime())), 0.01);  // not frozen
  run(*w, 600);
  EXPECT_TRUE(gentle->landed && fast->landed);
  EXPECT_EQ(
      std::make_tuple(count(*w, "gentle", "touchdown"), count(*w, "gentle", "crashed"), count(*w, "gentle", "landed")),
      std::make_tuple(1, 0, 1));
  EXPECT_EQ(std::make_tuple(count(*w, "fast", "crashed"), count(*w, "fast", "landed")), std::make_tuple(1, 1));
  double speed = 0, touched = 0, landedAt = 0;  // [m/s], [s], [s]
  for (const Event &e : w->record().events()) {
    if (e.vessel == "fast" && e.kind == EventKind::touchdown) std::sscanf(e.detail.c_str(), "at %lf", &speed);
    if (e.vessel == "gentle" && e.kind == EventKind::touchdown) touched = e.t;
    if (e.vessel == "gentle" && e.kind == EventKind::landed) landedAt = e.t;
  }
  EXPECT_NEAR(speed, 60, 1);
  EXPECT_TRUE(landedAt - touched > 4.99 && landedAt - touched < 6) << touched << " " << landedAt;
  expectOnItsPoints(*gentle, earth, w->planetTime());
  EXPECT_NEAR(altitude(*fast, earth), 1, 1e-6);
}
