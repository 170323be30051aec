// The launcher's tanks, engines, groups, flames and particle streams as the
// host records them after each configuration build.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "sim/physics/propulsion.h"
#include "tests/support/launcher.h"

namespace {

enum Tank { BOOSTER, UPPER, RCS, NO_TANK };

struct Expected {
  VECTOR3 pos, dir;
  double thrust;  // [N]
  Tank tank;
  double isp, ispRef;  // [m/s]
};

const double S5 = std::sqrt(5.0);
const std::vector<Expected> FULL_STACK = {
    {{-0.857, 0, -17.35}, {0, 0, 1}, 2075070.06, BOOSTER, 3305.97, 3050.91},
    {{0.857, 0, -17.35}, {0, 0, 1}, 2075070.06, BOOSTER, 3305.97, 3050.91},
    {{0.7, 0, 12}, {-1, 0, 0}, 0, BOOSTER, 0, 0},
    {{1.59, 0, 15.2}, {-2 / S5, 0, 1 / S5}, 0, BOOSTER, 0, 0},
};
const Expected RCS_AT[4] = {{{1.1557, -0.41, -4.12}, {0, 1, 0}, 40, RCS, 3082.01, 3082.01},
                            {{-1.1557, 0.41, -4.12}, {0, -1, 0}, 40, RCS, 3082.01, 3082.01},
                            {{1.1557, 0.41, -4.12}, {0, -1, 0}, 40, RCS, 3082.01, 3082.01},
                            {{-1.1557, -0.41, -4.12}, {0, 1, 0}, 40, RCS, 3082.01, 3082.01}};
const std::vector<Expected> UPPER_STAGE = {
    {{-0.703, 0.05, -5}, {0, 0, 1}, 99193.815, UPPER, 4424.31, 4424.31},
    {{0.703, -0.05, -5}, {0, 0, 1}, 99193.815, UPPER, 4424.31, 4424.31},
    RCS_AT[0],
    RCS_AT[1],
    RCS_AT[2],
    RCS_AT[3],
    {{-1.4765, 0, -4.12}, {1, 0, 0}, 40, RCS, 3082.01, 3082.01},
    {{1.4765, 0, -4.12}, {-1, 0, 0}, 40, RCS, 3082.01, 3082.01},
    RCS_AT[0],
    RCS_AT[3],
    RCS_AT[2],
    RCS_AT[1],
};

const double CAPACITY[] = {181903, 21830, 75};  // by Tank [kg]

class propulsion : public ::testing::Test {
 protected:
  // Read from a scenario block in that configuration.
  void build(int configuration) {
    v = loadLauncher(world, inOrbit({"CONFIGURATION " + std::to_string(configuration)}));
    ASSERT_NE(v, nullptr);
  }
  Tank tankOf(const sim::Thruster &th) const {
    for (int i = 0; i < 3; ++i)
      if (const sim::Tank *t = tankOfSize(*v, CAPACITY[i]); t && t->id == th.tank) return static_cast<Tank>(i);
    return NO_TANK;
  }
  void expectThrusters(const std::vector<Expected> &expected) const {
    ASSERT_EQ(v->thrusters.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      const sim::Thruster &th = v->thrusters[i];
      const Expected &e = expected[i];
      const std::string which = "thruster " + std::to_string(i);
      expectNear(th.pos, e.pos, 1e-9, which);
      expectNear(th.dir, e.dir, 1e-9, which);
      EXPECT_EQ(std::vector<double>({th.maxThrust0, th.isp0, th.ispRef, th.pRef}),
                std::vector<double>({e.thrust, e.isp, e.ispRef, 101400}))
          << which;
      EXPECT_EQ(tankOf(th), e.tank) << which;
    }
  }
  // Indices into v->thrusters of a group's members.
  std::vector<size_t> members(THGROUP_TYPE type) const {
    std::vector<size_t> found;
    if (const sim::ThrusterGroup *g = v->group(type))
      for (sim::Id id : g->thrusters)
        for (size_t i = 0; i < v->thrusters.size(); ++i)
          if (v->thrusters[i].id == id) found.push_back(i);
    return found;
  }

  sim::World world{".", ""};
  sim::Vessel *v = nullptr;
};

TEST_F(propulsion, a_new_launcher_holds_its_three_tanks_full_the_booster_tank_first) {
  v = world.createVessel("L1", "Varnell", nullptr);
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(v->tanks.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(v->tanks[i].maxMass, CAPACITY[i]);
    EXPECT_EQ(v->tanks[i].mass, CAPACITY[i]);
    EXPECT_EQ(v->tanks[i].efficiency, 1.0);
  }
  EXPECT_EQ(v->defaultTank, v->tanks[0].id);
}

TEST_F(propulsion, the_full_stack_has_four_thrusters_and_only_the_hover_group) {
  build(0);
  expectThrusters(FULL_STACK);
  ASSERT_EQ(v->groups.size(), 1u);
  EXPECT_EQ(members(THGROUP_HOVER), (std::vector<size_t>{0, 1}));
  EXPECT_EQ(v->group(THGROUP_MAIN), nullptr);
  EXPECT_EQ(v->defaultTank, tankOfSize(*v, CAPACITY[BOOSTER])->id);
}

TEST_F(propulsion, the_upper_stage_has_twelve_thrusters_the_main_group_and_six_rotation_groups) {
  build(1);
  expectThrusters(UPPER_STAGE);
  EXPECT_EQ(v->groups.size(), 7u);
  EXPECT_EQ(members(THGROUP_MAIN), (std::vector<size_t>{0, 1}));
  const THGROUP_TYPE order[] = {THGROUP_ATT_PITCHUP,  THGROUP_ATT_PITCHDOWN, THGROUP_ATT_YAWLEFT,
                                THGROUP_ATT_YAWRIGHT, THGROUP_ATT_BANKLEFT,  THGROUP_ATT_BANKRIGHT};
  // Members as v->thrusters indices: pitch up is thRcs 8 and 9, pitch down 6 and 7, and so on.
  const std::vector<std::vector<size_t>> expected = {{10, 11}, {8, 9}, {6}, {7}, {2, 3}, {4, 5}};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(members(order[i]), expected[i]) << order[i];
  EXPECT_EQ(v->group(THGROUP_HOVER), nullptr);
  for (int t = THGROUP_ATT_RIGHT; t <= THGROUP_ATT_BACK; ++t) EXPECT_EQ(v->group(THGROUP_TYPE(t)), nullptr);
  EXPECT_EQ(v->exhausts.size(), 2u);
  EXPECT_EQ(v->streams.size(), 10u);
  EXPECT_EQ(v->defaultTank, tankOfSize(*v, CAPACITY[UPPER])->id);
}

TEST_F(propulsion, booster_flames_have_places_of_their_own_and_upper_stage_flames_follow_their_engines) {
  build(0);
  ASSERT_EQ(v->exhausts.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    const sim::Exhaust &e = v->exhausts[i];
    EXPECT_EQ(e.thruster, v->thrusters[i].id);
    EXPECT_EQ(e.length, 60);
    EXPECT_EQ(e.width, 1.8);
    EXPECT_TRUE(e.hasPosDir);
    expectNear(e.pos, _V(i ? 0.857 : -0.857, 0, -16.7));
    expectNear(e.dir, _V(0, 0, -1));
    EXPECT_EQ(world.resources().textureName(e.tex), "RealExhaust");
  }
  world.cockpit().pressKey(v, OAPI_KEY_J);  // staging
  world.step();
  for (int i = 0; i < 2; ++i) {
    const sim::Exhaust &e = v->exhausts[i];
    EXPECT_EQ(e.thruster, v->thrusters[i].id);
    EXPECT_EQ(e.length, 20);
    EXPECT_EQ(e.width, 0.5);
    EXPECT_FALSE(e.hasPosDir);
    EXPECT_EQ(world.resources().textureName(e.tex), "ExhaustVac");
  }
}

// Field by field: srcsize, srcrate, v0, srcspread, lifetime, growthrate,
// atmslowdown, lmin, lmax, atmsmap, amin, amax, texture.
struct StreamRow {
  double f[9];
  PARTICLESTREAMSPEC::ATMSMAP atmsmap;
  double amin, amax;
  const char *texture;
};
const StreamRow FLAME_TRAIL = {
    {1.0, 500, 150, 0.05, 0.15, -0.5, 1.0, 0, 0.5}, PARTICLESTREAMSPEC::ATM_PLOG, 0, 0.01, "Contrail_firetrail"};
const StreamRow SMOKE_TRAIL = {{3.0, 2, 150, 0.1, 10, 5, 5.5, 0, 0.05}, PARTICLESTREAMSPEC::ATM_FLAT, 0.1, 0.1, ""};
const StreamRow VENT_PLUME = {{0.3, 1000, 10, 0.5, 0.2, 2, 0, 0, 0.5}, PARTICLESTREAMSPEC::ATM_PLOG, 0.000001, 0.1, ""};
const StreamRow IGNITION_PLUME = {{1.0, 100, 0, 0.8, 1.0, 1, 0.1, 0, 0.5}, PARTICLESTREAMSPEC::ATM_PLOG, 0.1, 0.1, ""};
const StreamRow RCS_PUFF = {{0.09, 1000, 20, 0, 0.2, 2, 0, 0, 0.5}, PARTICLESTREAMSPEC::ATM_PLOG, 0, 0, ""};

void expectStream(const sim::World &world, const sim::Stream &s, const StreamRow &row, const std::string &what) {
  const PARTICLESTREAMSPEC &p = s.particles;
  const double got[9] = {p.srcsize,    p.srcrate,     p.v0,   p.srcspread, p.lifetime,
                         p.growthrate, p.atmslowdown, p.lmin, p.lmax};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(got[i], row.f[i]) << what << " field " << i;
  EXPECT_EQ(p.flags, 0u) << what;
  EXPECT_EQ(p.ltype, PARTICLESTREAMSPEC::EMISSIVE) << what;
  EXPECT_EQ(p.levelmap, PARTICLESTREAMSPEC::LVL_PSQRT) << what;
  EXPECT_EQ(p.atmsmap, row.atmsmap) << what;
  EXPECT_EQ(p.amin, row.amin) << what;
  EXPECT_EQ(p.amax, row.amax) << what;
  EXPECT_EQ(world.resources().textureName(p.tex), row.texture) << what;
}

TEST_F(propulsion, every_stream_sits_on_its_thruster_with_the_tabled_fields) {
  build(0);
  ASSERT_EQ(v->streams.size(), 6u);
  // Ignition, vent, the two flame trails, the two smoke trails 60 m behind.
  const size_t on[] = {2, 3, 0, 1, 0, 1};
  const StreamRow *rows[] = {&IGNITION_PLUME, &VENT_PLUME, &FLAME_TRAIL, &FLAME_TRAIL, &SMOKE_TRAIL, &SMOKE_TRAIL};
  for (int i = 0; i < 6; ++i) {
    const sim::Stream &s = v->streams[i];
    EXPECT_EQ(s.thruster, v->thrusters[on[i]].id) << "stream " << i;
    EXPECT_EQ(s.hasPos, i >= 4) << "stream " << i;
    if (s.hasPos) expectNear(s.pos, _V(0, 0, -60));
    expectStream(world, s, *rows[i], "stream " + std::to_string(i));
  }
  world.cockpit().pressKey(v, OAPI_KEY_J);
  world.step();
  ASSERT_EQ(v->streams.size(), 10u);
  for (size_t i = 0; i < v->streams.size(); ++i) {
    EXPECT_EQ(v->streams[i].thruster, v->thrusters[i + 2].id);
    expectStream(world, v->streams[i], RCS_PUFF, "puff " + std::to_string(i));
  }
}

// Each rotation group turns the stage
// about its own axis only, the opposite way to its partner; yaw left swings
// the nose to -x as a push of the tail to +x does (physics/rotation_test).
TEST_F(propulsion, each_rotation_group_turns_the_upper_stage_about_its_own_axis_against_its_partner) {
  build(1);
  auto torqueOf = [this](THGROUP_TYPE group) {
    v->manualLevel[group] = 1;
    const VECTOR3 torque = sim::physics::propulsionOf(*v, 0, 0.02).torque;  // [N m]
    v->manualLevel[group] = 0;
    return torque;
  };
  const THGROUP_TYPE pairs[3][2] = {{THGROUP_ATT_PITCHUP, THGROUP_ATT_PITCHDOWN},
                                    {THGROUP_ATT_YAWLEFT, THGROUP_ATT_YAWRIGHT},
                                    {THGROUP_ATT_BANKRIGHT, THGROUP_ATT_BANKLEFT}};
  for (int axis = 0; axis < 3; ++axis) {
    const VECTOR3 one = torqueOf(pairs[axis][0]), other = torqueOf(pairs[axis][1]);
    EXPECT_GT(std::fabs(one.data[axis]), 80) << axis;  // 40 N pushes over a metre out at least
    expectNear(one + other, _V(0, 0, 0), 1e-9, "pair " + std::to_string(axis));
    for (int off = 1; off < 3; ++off) EXPECT_NEAR(one.data[(axis + off) % 3], 0, 1e-9) << axis;
  }
  EXPECT_GT(torqueOf(THGROUP_ATT_YAWLEFT).y, 0);
}

TEST_F(propulsion, after_staging_no_thruster_draws_on_the_booster_tank_and_it_is_gone) {
  build(0);
  const sim::Id booster = tankOfSize(*v, CAPACITY[BOOSTER])->id;
  world.cockpit().pressKey(v, OAPI_KEY_J);
  world.step();
  EXPECT_EQ(configurationOf(*v), 1);
  EXPECT_EQ(v->tanks.size(), 2u);
  for (const sim::Thruster &th : v->thrusters) EXPECT_NE(th.tank, booster);
  EXPECT_EQ(world.log().refusedCount(), 0);
}

}  // namespace
