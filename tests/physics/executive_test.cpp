#include <gtest/gtest.h>

#include <vector>

#include "sim/physics/planet/planet.h"
#include "tests/support/tree.h"

using namespace sim;

namespace {

// A vessel whose post-step callback deletes one vessel and creates another.
class Meddler final : public VESSEL2 {
 public:
  Meddler(OBJHANDLE h, Vessel *victim) : VESSEL2(h), victim_(victim) {}
  void clbkPostStep(double simt, double simdt, double mjd) override {
    World &w = *World::current();
    calledAt = simt;
    step = simdt;
    wasCalling = w.callingVessel == w.fromHandle(GetHandle());
    if (victim_) w.deleteVessel(victim_);
    victim_ = nullptr;
    VESSELSTATUS s{};
    s.rpos = kDeepSpace + _V(0, 1000, 0);
    s.rvel = _V(1, 2, 3);
    oapiCreateVessel("newcomer", "Probe", s);
  }
  double calledAt = 0, step = 0;  // [s]
  bool wasCalling = false;

 private:
  Vessel *victim_;
};

}  // namespace

TEST(executive, post_step_callbacks_may_delete_and_create_vessels) {
  ScratchWorld w(kBareProbe);
  w->timeAcceleration = 10;
  Vessel *host = flying(*w, "host", kDeepSpace, _V(0, 0, 0));
  Vessel *victim = flying(*w, "victim", kDeepSpace + _V(0, 500, 0), _V(0, 0, 0));
  // The host's own interface is put back before the world deletes it.
  struct Swap {
    Vessel *v;
    VESSEL *own;
    ~Swap() { v->iface = own; }
  } swap{host, host->iface};
  Meddler meddler(host, victim);
  host->iface = &meddler;
  run(*w, 1);
  EXPECT_EQ(w->find("victim"), nullptr);
  EXPECT_TRUE(meddler.wasCalling);
  EXPECT_EQ(std::vector<double>({meddler.step, meddler.calledAt}), std::vector<double>({0.2, 0.2}));
  Vessel *newcomer = w->find("newcomer");
  ASSERT_NE(newcomer, nullptr);
  EXPECT_EQ(length(newcomer->pos - (kDeepSpace + _V(0, 1000, 0))), 0);  // not moved in the step it was born
  run(*w, 1);
  EXPECT_NEAR(length(newcomer->pos - (kDeepSpace + _V(0.2, 1000.4, 0.6))), 0, 1e-4);
}

// A frame stretched by the time acceleration is integrated in sub-steps: it
// ends where the same span of short frames ends, for a vessel spinning fast, one
// on an orbit and one falling through the air to the ground.
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
      {"falling", _V(r + 5000, 0, 0), _V(0, 0, 0), _V(0.1, 0, 0), 400, 1, 0.02},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Vessel> ends;
    for (double warp : {1.0, 1000.0}) {
      ScratchWorld w("Mass = 100\nSize = 2\nInertia = 2 5 9\nCW = 1 1 1 1\nCrossSections = 4 4 4\n");
      Vessel *v = flying(*w, "v", c.pos, c.vel, c.vrot);
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
