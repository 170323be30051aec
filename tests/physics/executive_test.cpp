#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "sim/physics/planet/planet.h"
#include "tests/support/tree.h"

using namespace sim;

namespace {

// A vessel whose pre-step callback creates a vessel once and whose post-step
// callback deletes one vessel and creates another; both callbacks note, in the
// frame's log, the time, step and date they are given and how far the vessel
// has come, as GetStatus reads it and as it is.
class Meddler final : public VESSEL2 {
 public:
  Meddler(OBJHANDLE h, Vessel *victim, std::vector<std::string> &log) : VESSEL2(h), victim_(victim), log_(log) {}
  void note(const char *what, double simt, double simdt, double mjd) {
    VESSELSTATUS status;
    GetStatus(status);
    const VECTOR3 pos = World::current()->fromHandle(GetHandle())->pos;
    char text[128];
    std::snprintf(text, sizeof text, "%s %g %g %.9f %.2f/%.2f", what, simt, simdt, mjd, status.rpos.x - kDeepSpace.x,
                  pos.x - kDeepSpace.x);
    log_.push_back(text);
  }
  void clbkPreStep(double simt, double simdt, double mjd) override {
    note("pre", simt, simdt, mjd);
    if (simt == 0) oapiCreateVessel("early", "Probe", statusAt(_V(0, 2000, 0)));
  }
  void clbkPostStep(double simt, double simdt, double mjd) override {
    World &w = *World::current();
    note("post", simt, simdt, mjd);
    wasCalling = w.callingVessel == w.fromHandle(GetHandle());
    if (victim_ && oapiDeleteVessel(victim_)) victimStayedForTheFrame = w.fromHandle(victim_) != nullptr;
    victim_ = nullptr;
    oapiCreateVessel("newcomer", "Probe", statusAt(_V(0, 1000, 0)));
  }
  bool wasCalling = false, victimStayedForTheFrame = false;

 private:
  static VESSELSTATUS statusAt(const VECTOR3 &offset) {
    VESSELSTATUS s{};
    s.rpos = kDeepSpace + offset;
    s.rvel = _V(1, 2, 3);
    return s;
  }
  Vessel *victim_;
  std::vector<std::string> &log_;
};

}  // namespace

// The order of a frame as the simulator runs it (Orbiter::UpdateWorld): the
// pilot, each clbkPreStep given the frame's start, the integration, each
// clbkPostStep given its end but reading the states of its start (Body::GPos
// gives s0 until the update is finalised). The vessel list is walked live: a
// vessel made in clbkPreStep is integrated in that frame, one made in
// clbkPostStep from the next; a deletion takes effect at the frame's end
// (Vessel::RequestDestruct, KillVessels). Flown twice, the same flight ends
// alike to the bit.
TEST(executive, a_frame_runs_pilot_pre_step_integration_post_step_and_callbacks_may_delete_and_create_vessels) {
  std::vector<Vessel> ends;
  for (int flight = 0; flight < 2; ++flight) {
    ScratchWorld w(kBareProbe);
    w->timeAcceleration = 10;
    w->mjd = 61000.5;
    std::vector<std::string> log;
    w->pilot = [&log](World &world) { log.push_back("pilot " + std::to_string(world.simTime())); };
    Vessel *host = flying(*w, "host", kDeepSpace, _V(1, 0, 0));
    Vessel *victim = flying(*w, "victim", kDeepSpace + _V(0, 500, 0), _V(0, 0, 0));
    // The host's own interface is put back before the world deletes it.
    struct Swap {
      Vessel *v;
      VESSEL *own;
      ~Swap() { v->iface = own; }
    } swap{host, host->iface};
    Meddler meddler(host, victim, log);
    host->iface = &meddler;
    run(*w, 1);
    EXPECT_EQ(log, std::vector<std::string>({"pilot 0.000000", "pre 0 0.2 61000.500000000 0.00/0.00",
                                             "post 0.2 0.2 61000.500002315 0.00/0.20"}));
    EXPECT_EQ(w->find("victim"), nullptr);
    EXPECT_TRUE(meddler.wasCalling && meddler.victimStayedForTheFrame);
    EXPECT_NEAR(length(w->find("early")->pos - (kDeepSpace + _V(0.2, 2000.4, 0.6))), 0, 1e-4);
    Vessel *newcomer = w->find("newcomer");
    ASSERT_NE(newcomer, nullptr);
    EXPECT_EQ(length(newcomer->pos - (kDeepSpace + _V(0, 1000, 0))), 0);  // not moved in the step it was born
    run(*w, 1);
    EXPECT_NEAR(length(newcomer->pos - (kDeepSpace + _V(0.2, 1000.4, 0.6))), 0, 1e-4);
    ends.push_back(*newcomer);
  }
  EXPECT_EQ(std::memcmp(&ends[0].pos, &ends[1].pos, sizeof(VECTOR3)), 0);
  EXPECT_EQ(std::memcmp(&ends[0].rot, &ends[1].rot, sizeof(Mat3)), 0);
}

// A frame stretched by the time acceleration is integrated in sub-steps: it
// ends where the same span of short frames ends, for a vessel spinning fast, one
// on an orbit and one falling through the air to the ground, where it comes to
// rest on its springs and is landed.
TEST(executive, a_long_frame_ends_where_the_same_span_of_short_frames_ends) {
  struct Case {
    const char *what;
    VECTOR3 pos, vel, vrot;  // [m], [m/s], [rad/s]
    double span;             // [s]
    double tolerance;        // of position [m]
    double turn;  // of attitude [rad] and spin [fraction]: a landing's heading follows the moment it touched down
  };
  const double r = physics::Planet().radius;  // [m]
  const double orbit = r + 300e3, orbitSpeed = std::sqrt(physics::Planet().gm / orbit);
  const Case cases[] = {
      {"tumbling", kDeepSpace, _V(0, 0, 0), _V(0.2, 0.1, 1.5), 200, 1e-4, 1e-4},
      {"orbiting", _V(orbit, 0, 0), _V(0, 0, orbitSpeed), _V(0, 0, 0), 5400, 1, 1e-9},
      {"falling", _V(r + 5000, 0, 0), _V(0, 0, 0), _V(0, 0, 0), 400, 1, 0.02},
      // The air stops this slow turn at some 10 /s: the damping, not the turn, cuts the steps.
      {"turning in thick air", _V(r + 5000, 0, 0), _V(0, 0, 0), _V(0.05, 0, 0), 20, 1, 1e-3},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Vessel> ends;
    for (double warp : {1.0, 1000.0}) {
      ScratchWorld w(
          "Mass = 100\nSize = 2\nInertia = 2 5 9\nCW = 1 1 1 1\nCrossSections = 4 4 4\nRotResistance = 14 0 0\n"
          "TouchdownPoints = 0 -1 1  -1 -1 -1  1 -1 -1\n");
      Vessel *v = flying(*w, "v", c.pos, c.vel, c.vrot);
      v->rot = Mat3::fromColumns(_V(0, -1, 0), unit(c.pos), _V(0, 0, 1));  // its touchdown points below it
      w->timeAcceleration = warp;
      while (w->simTime() < c.span - 1e-6) w->step();
      ASSERT_TRUE(w->diverged().empty());
      ends.push_back(*v);
    }
    const Vessel &fine = ends[0], &coarse = ends[1];
    EXPECT_EQ(coarse.landed, fine.landed);
    EXPECT_NEAR(length(coarse.pos - fine.pos), 0, c.tolerance);
    EXPECT_NEAR(length(coarse.omega - fine.omega), 0, c.turn * (1 + length(fine.omega)));
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(length(coarse.rot.column(i) - fine.rot.column(i)), 0, c.turn);
  }
}
