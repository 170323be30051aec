// The launcher's tanks, engines, groups, flames and particle streams as the
// host records them after each configuration build; each engine's thrust,
// specific impulse and tank as its burn shows them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "sim/physics/propulsion.h"
#include "tests/support/launcher.h"

namespace {

const double CAPACITY[] = {181903, 21830, 75};  // booster, upper stage, attitude control [kg]

// Thrust [N], vacuum and sea-level specific impulse [m/s], the tank it draws on [kg].
struct Engine {
  double thrust, isp, ispRef, tank;
};
const Engine BOOSTER{2075070.06, 3305.97, 3050.91, 181903}, UPPER{99193.815, 4424.31, 4424.31, 21830},
    JET{40, 3082.01, 3082.01, 75}, EFFECT{0, 0, 0, 181903};
struct Row {
  VECTOR3 pos, dir;  // [m]
  const Engine &engine;
};
const double R = 1.1557, X = 1.4765;  // attitude jets out from the axis [m]
const std::vector<Row> FULL_STACK = {{{-0.857, 0, -17.35}, {0, 0, 1}, BOOSTER},
                                     {{0.857, 0, -17.35}, {0, 0, 1}, BOOSTER},
                                     {{0.7, 0, 12}, {-1, 0, 0}, EFFECT},
                                     {{1.59, 0, 15.2}, {-2, 0, 1}, EFFECT}};
const std::vector<Row> UPPER_STAGE = {{{-0.703, 0.05, -5}, {0, 0, 1}, UPPER}, {{0.703, -0.05, -5}, {0, 0, 1}, UPPER},
                                      {{R, -0.41, -4.12}, {0, 1, 0}, JET},    {{-R, 0.41, -4.12}, {0, -1, 0}, JET},
                                      {{R, 0.41, -4.12}, {0, -1, 0}, JET},    {{-R, -0.41, -4.12}, {0, 1, 0}, JET},
                                      {{-X, 0, -4.12}, {1, 0, 0}, JET},       {{X, 0, -4.12}, {-1, 0, 0}, JET},
                                      {{R, -0.41, -4.12}, {0, 1, 0}, JET},    {{-R, -0.41, -4.12}, {0, 1, 0}, JET},
                                      {{R, 0.41, -4.12}, {0, -1, 0}, JET},    {{-R, 0.41, -4.12}, {0, -1, 0}, JET}};

// Each thruster alone at full level for a second, in vacuum and at sea level.
void expectThrusters(sim::Vessel &v, const std::vector<Row> &rows) {
  ASSERT_EQ(v.thrusters.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const Row &r = rows[i];
    const std::string which = "thruster " + std::to_string(i);
    expectNear(v.thrusters[i].pos, r.pos, 1e-9, which);
    expectNear(v.thrusters[i].dir, unit(r.dir), 1e-9, which);
    for (sim::Thruster &th : v.thrusters) th.level = &th == &v.thrusters[i];
    const sim::physics::Propulsion vacuum = sim::physics::propulsionOf(v, 0, 1);
    const double seaLevel = length(sim::physics::propulsionOf(v, 101400, 1).force);  // [N]
    expectNear(vacuum.force, unit(r.dir) * r.engine.thrust, 1e-6, which);
    EXPECT_NEAR(seaLevel, r.engine.isp > 0 ? r.engine.thrust * r.engine.ispRef / r.engine.isp : 0, 1e-6) << which;
    ASSERT_EQ(vacuum.draw.size(), v.tanks.size());
    for (size_t t = 0; t < v.tanks.size(); ++t)
      EXPECT_NEAR(vacuum.draw[t], v.tanks[t].maxMass == r.engine.tank ? vacuum.massFlow : 0, 1e-12) << which;
    EXPECT_NEAR(vacuum.massFlow, r.engine.isp > 0 ? r.engine.thrust / r.engine.isp : 0, 1e-9) << which;
    EXPECT_EQ(v.thrusters[i].tank, tankOfSize(v, r.engine.tank)->id) << which;
  }
  for (sim::Thruster &th : v.thrusters) th.level = 0;
}

// Indices into v.thrusters of a group's members.
std::vector<size_t> members(const sim::Vessel &v, THGROUP_TYPE type) {
  std::vector<size_t> found;
  if (const sim::ThrusterGroup *g = v.group(type))
    for (sim::Id id : g->thrusters)
      for (size_t i = 0; i < v.thrusters.size(); ++i)
        if (v.thrusters[i].id == id) found.push_back(i);
  return found;
}

TEST(propulsion, each_configuration_has_its_thrusters_groups_and_default_tank) {
  const THGROUP_TYPE order[] = {THGROUP_HOVER,       THGROUP_MAIN,         THGROUP_ATT_PITCHUP,  THGROUP_ATT_PITCHDOWN,
                                THGROUP_ATT_YAWLEFT, THGROUP_ATT_YAWRIGHT, THGROUP_ATT_BANKLEFT, THGROUP_ATT_BANKRIGHT};
  const std::vector<size_t> none;
  const std::vector<std::vector<size_t>> members0 = {{0, 1}, none, none, none, none, none, none, none},
                                         members1 = {none, {0, 1}, {10, 11}, {8, 9}, {6}, {7}, {2, 3}, {4, 5}};
  for (int configuration : {0, 1}) {
    SCOPED_TRACE("configuration " + std::to_string(configuration));
    Flight f(inOrbit({"CONFIGURATION " + std::to_string(configuration)}));
    expectThrusters(*f.v, configuration ? UPPER_STAGE : FULL_STACK);
    EXPECT_EQ(f.v->groups.size(), configuration ? 7u : 1u);
    for (int i = 0; i < 8; ++i)
      EXPECT_EQ(members(*f.v, order[i]), (configuration ? members1 : members0)[i]) << order[i];
    EXPECT_EQ(f.v->defaultTank, tankOfSize(*f.v, CAPACITY[configuration])->id);
  }
}

// Particle streams, field by field: srcsize, srcrate, v0, srcspread, lifetime,
// growthrate, atmslowdown, lmin, lmax, amin, amax; then atmsmap and texture.
struct StreamRow {
  double f[11];
  PARTICLESTREAMSPEC::ATMSMAP atmsmap;
  const char *texture;
};
const StreamRow FLAME_TRAIL = {
    {1.0, 500, 150, 0.05, 0.15, -0.5, 1.0, 0, 0.5, 0, 0.01}, PARTICLESTREAMSPEC::ATM_PLOG, "Contrail_firetrail"};
const StreamRow SMOKE_TRAIL = {{3.0, 2, 150, 0.1, 10, 5, 5.5, 0, 0.05, 0.1, 0.1}, PARTICLESTREAMSPEC::ATM_FLAT, ""};
const StreamRow VENT_PLUME = {{0.3, 1000, 10, 0.5, 0.2, 2, 0, 0, 0.5, 0.000001, 0.1}, PARTICLESTREAMSPEC::ATM_PLOG, ""};
const StreamRow IGNITION_PLUME = {{1.0, 100, 0, 0.8, 1.0, 1, 0.1, 0, 0.5, 0.1, 0.1}, PARTICLESTREAMSPEC::ATM_PLOG, ""};
const StreamRow RCS_PUFF = {{0.09, 1000, 20, 0, 0.2, 2, 0, 0, 0.5, 0, 0}, PARTICLESTREAMSPEC::ATM_PLOG, ""};

void expectStream(const sim::World &world, const sim::Stream &s, const StreamRow &row, const std::string &what) {
  const PARTICLESTREAMSPEC &p = s.particles;
  EXPECT_EQ(std::vector<double>({p.srcsize, p.srcrate, p.v0, p.srcspread, p.lifetime, p.growthrate, p.atmslowdown,
                                 p.lmin, p.lmax, p.amin, p.amax}),
            std::vector<double>(row.f, row.f + 11))
      << what;
  EXPECT_EQ(std::vector<int>({int(p.flags), p.ltype, p.levelmap, p.atmsmap}),
            std::vector<int>({0, PARTICLESTREAMSPEC::EMISSIVE, PARTICLESTREAMSPEC::LVL_PSQRT, row.atmsmap}))
      << what;
  EXPECT_EQ(world.resources().textureName(p.tex), row.texture) << what;
}

// The booster's flames have places of their own, the upper stage's follow
// their engines; after staging nothing draws on the booster tank, now gone.
TEST(propulsion, flames_and_streams_sit_on_their_thrusters_through_staging) {
  Flight f(inOrbit({"CONFIGURATION 0"}));
  const sim::Id booster = tankOfSize(*f.v, CAPACITY[0])->id;
  ASSERT_EQ(f.v->streams.size(), 6u);
  // Ignition, vent, the two flame trails, the two smoke trails 60 m behind.
  const size_t on[] = {2, 3, 0, 1, 0, 1};
  const StreamRow *rows[] = {&IGNITION_PLUME, &VENT_PLUME, &FLAME_TRAIL, &FLAME_TRAIL, &SMOKE_TRAIL, &SMOKE_TRAIL};
  for (int i = 0; i < 6; ++i) {
    const sim::Stream &s = f.v->streams[i];
    EXPECT_EQ(s.thruster, f.v->thrusters[on[i]].id) << "stream " << i;
    EXPECT_EQ(s.hasPos, i >= 4) << "stream " << i;
    if (s.hasPos) expectNear(s.pos, _V(0, 0, -60));
    expectStream(f.world, s, *rows[i], "stream " + std::to_string(i));
  }
  for (int stage = 0; stage < 2; ++stage, f.press(OAPI_KEY_J)) {
    ASSERT_EQ(f.v->exhausts.size(), 2u);
    for (int i = 0; i < 2; ++i) {
      const sim::Exhaust &e = f.v->exhausts[i];
      EXPECT_EQ(e.thruster, f.v->thrusters[i].id);
      EXPECT_EQ(std::vector<double>({e.length, e.width}),
                stage ? std::vector<double>({20, 0.5}) : std::vector<double>({60, 1.8}));
      EXPECT_EQ(e.hasPosDir, !stage);
      if (!stage) expectNear(e.pos, _V(i ? 0.857 : -0.857, 0, -16.7));
      if (!stage) expectNear(e.dir, _V(0, 0, -1));
      EXPECT_EQ(f.world.resources().textureName(e.tex), stage ? "ExhaustVac" : "RealExhaust");
    }
  }
  EXPECT_EQ(configurationOf(*f.v), 1);
  ASSERT_EQ(f.v->streams.size(), 10u);
  for (size_t i = 0; i < f.v->streams.size(); ++i) {
    EXPECT_EQ(f.v->streams[i].thruster, f.v->thrusters[i + 2].id);
    expectStream(f.world, f.v->streams[i], RCS_PUFF, "puff " + std::to_string(i));
  }
  EXPECT_EQ(f.v->tanks.size(), 2u);
  for (const sim::Thruster &th : f.v->thrusters) EXPECT_NE(th.tank, booster);
  EXPECT_EQ(f.world.log().refusedCount(), 0);
}

}  // namespace
