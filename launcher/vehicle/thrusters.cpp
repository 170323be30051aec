// The launcher's engines for each configuration: the booster's two engines
// with the vent and ignition effects, or the upper stage's two engines with its
// attitude thrusters; their groups, flames and streams.
//
// The booster engines form the hover group, not the main group: the full stack
// is steered only by swivelling them, so it has no attitude thrusters at all.
#include <cstddef>
#include <iterator>

#include "exhaust.h"
#include "varnell.h"

namespace {

using varnell::ExhaustEffects;

const double REFERENCE_PRESSURE = 101400;  // where the sea-level Isp holds [Pa]

struct ThrusterDef {
  VECTOR3 pos;       // [m]
  VECTOR3 dir;       // of the thrust
  double maxThrust;  // in vacuum [N]
  PROPELLANT_HANDLE VARNELL::*tank;
  double isp;     // in vacuum [m/s]
  double ispRef;  // at REFERENCE_PRESSURE [m/s]
};

const ThrusterDef BOOSTER_ENGINES[] = {
    {{-0.857, 0, -17.35}, {0, 0, 1}, 2075070.06, &VARNELL::phBooster, 3305.97, 3050.91},  // Isp 337 s, 311 s
    {{0.857, 0, -17.35}, {0, 0, 1}, 2075070.06, &VARNELL::phBooster, 3305.97, 3050.91},
};
// Zero-thrust thrusters whose level switches a plume on and off.
const ThrusterDef IGNITION_EFFECT = {{0.7, 0, 12}, {-1, 0, 0}, 0, &VARNELL::phBooster, 0, 0};
const ThrusterDef VENT_EFFECT = {{1.59, 0, 15.2}, {-2, 0, 1}, 0, &VARNELL::phBooster, 0, 0};

const ThrusterDef UPPER_STAGE_ENGINES[] = {
    {{-0.703, 0.05, -5.0}, {0, 0, 1}, 99193.815, &VARNELL::phUpperStage, 4424.31, 4424.31},  // Isp 451 s
    {{0.703, -0.05, -5.0}, {0, 0, 1}, 99193.815, &VARNELL::phUpperStage, 4424.31, 4424.31},
};

// 4.12 m behind the upper stage's origin, in the order of the groups below; the
// pitch thrusters share their places with the bank thrusters.
const ThrusterDef RCS_THRUSTERS[] = {
    {{1.1557, -0.41, -4.12}, {0, 1, 0}, 40, &VARNELL::phRcs, 3082.01, 3082.01},
    {{-1.1557, 0.41, -4.12}, {0, -1, 0}, 40, &VARNELL::phRcs, 3082.01, 3082.01},
    {{1.1557, 0.41, -4.12}, {0, -1, 0}, 40, &VARNELL::phRcs, 3082.01, 3082.01},
    {{-1.1557, -0.41, -4.12}, {0, 1, 0}, 40, &VARNELL::phRcs, 3082.01, 3082.01},
    {{-1.4765, 0, -4.12}, {1, 0, 0}, 40, &VARNELL::phRcs, 3082.01, 3082.01},
    {{1.4765, 0, -4.12}, {-1, 0, 0}, 40, &VARNELL::phRcs, 3082.01, 3082.01},
    {{1.1557, -0.41, -4.12}, {0, 1, 0}, 40, &VARNELL::phRcs, 3082.01, 3082.01},
    {{-1.1557, -0.41, -4.12}, {0, 1, 0}, 40, &VARNELL::phRcs, 3082.01, 3082.01},
    {{1.1557, 0.41, -4.12}, {0, -1, 0}, 40, &VARNELL::phRcs, 3082.01, 3082.01},
    {{-1.1557, 0.41, -4.12}, {0, -1, 0}, 40, &VARNELL::phRcs, 3082.01, 3082.01},
};

// Rotation only: the upper stage has no translation groups.
struct RcsGroupDef {
  THGROUP_TYPE type;
  int first, count;  // in thRcs
};
const RcsGroupDef RCS_GROUPS[] = {
    {THGROUP_ATT_BANKLEFT, 0, 2}, {THGROUP_ATT_BANKRIGHT, 2, 2}, {THGROUP_ATT_YAWLEFT, 4, 1},
    {THGROUP_ATT_YAWRIGHT, 5, 1}, {THGROUP_ATT_PITCHDOWN, 6, 2}, {THGROUP_ATT_PITCHUP, 8, 2},
};

// The booster flames start at the nozzle exits, not at the thrusters' points,
// and stay pointing aft however the engines swivel.
struct FlameDef {
  double length, width;  // [m]
  VECTOR3 pos;           // [m]
  VECTOR3 dir;           // along the flame
};
const FlameDef BOOSTER_FLAMES[std::size(BOOSTER_ENGINES)] = {
    {60, 1.8, {-0.857, 0, -16.7}, {0, 0, -1}},
    {60, 1.8, {0.857, 0, -16.7}, {0, 0, -1}},
};
const double UPPER_STAGE_FLAME_LENGTH = 20;  // [m]
const double UPPER_STAGE_FLAME_WIDTH = 0.5;  // [m]

const VECTOR3 SMOKE_SOURCE = {0, 0, -60};  // the trail starts well behind the flames [m]

THRUSTER_HANDLE Create(const VARNELL &l, const ThrusterDef &d) {
  return l.CreateThruster(d.pos, d.dir, d.maxThrust, l.*d.tank, d.isp, d.ispRef, REFERENCE_PRESSURE);
}

// One definition per handle, or it does not compile.
template <std::size_t N>
void CreateAll(const VARNELL &l, const ThrusterDef (&defs)[N], THRUSTER_HANDLE (&handles)[N]) {
  for (std::size_t i = 0; i < N; ++i) handles[i] = Create(l, defs[i]);
}

void DefineBoosterSet(VARNELL &l, const ExhaustEffects &fx) {
  CreateAll(l, BOOSTER_ENGINES, l.thBooster);
  l.thgBooster = l.CreateThrusterGroup(l.thBooster, static_cast<int>(std::size(l.thBooster)), THGROUP_HOVER);
  l.thIgnition = Create(l, IGNITION_EFFECT);
  l.AddExhaustStream(l.thIgnition, fx.stream(varnell::IGNITION_PLUME));
  l.thVent = Create(l, VENT_EFFECT);
  l.AddExhaustStream(l.thVent, fx.stream(varnell::VENT_PLUME));
  for (THRUSTER_HANDLE th : l.thBooster) l.AddExhaustStream(th, fx.stream(varnell::FLAME_TRAIL));
  for (std::size_t i = 0; i < std::size(l.thBooster); ++i) {
    const FlameDef &f = BOOSTER_FLAMES[i];
    l.AddExhaust(l.thBooster[i], f.length, f.width, f.pos, f.dir, fx.boosterFlame);
  }
  for (THRUSTER_HANDLE th : l.thBooster) l.AddExhaustStream(th, SMOKE_SOURCE, fx.stream(varnell::SMOKE_TRAIL));
}

// The handles of a configuration's thrusters, in the order they are made.
struct ThrusterSet {
  THRUSTER_HANDLE *handles[std::size(UPPER_STAGE_ENGINES) + std::size(RCS_THRUSTERS)];  // the larger set
  std::size_t count = 0;
  std::size_t engines = 0;  // the first ones: engines, flames and vents, whose levels a rebuild keeps
  void add(THRUSTER_HANDLE &th) { handles[count++] = &th; }
};

ThrusterSet ThrustersOf(VARNELL &l, int configuration) {
  ThrusterSet set;
  if (configuration == 0) {
    for (THRUSTER_HANDLE &th : l.thBooster) set.add(th);
    set.add(l.thIgnition);
    set.add(l.thVent);
    set.engines = set.count;
  } else if (configuration == 1) {
    for (THRUSTER_HANDLE &th : l.thUpperStage) set.add(th);
    set.engines = set.count;
    for (THRUSTER_HANDLE &th : l.thRcs) set.add(th);
  }
  return set;
}

void DefineUpperStageSet(VARNELL &l, const ExhaustEffects &fx) {
  CreateAll(l, UPPER_STAGE_ENGINES, l.thUpperStage);
  l.thgUpperStage = l.CreateThrusterGroup(l.thUpperStage, static_cast<int>(std::size(l.thUpperStage)), THGROUP_MAIN);
  for (THRUSTER_HANDLE th : l.thUpperStage)
    l.AddExhaust(th, UPPER_STAGE_FLAME_LENGTH, UPPER_STAGE_FLAME_WIDTH, fx.vacuumFlame);
  CreateAll(l, RCS_THRUSTERS, l.thRcs);
  for (const RcsGroupDef &g : RCS_GROUPS) l.CreateThrusterGroup(&l.thRcs[g.first], g.count, g.type);
  for (THRUSTER_HANDLE th : l.thRcs) l.AddExhaustStream(th, fx.stream(varnell::RCS_PUFF));
}

}  // namespace

// A build of the configuration whose engines exist (for a message, a release
// or a save) gives each new engine, flame and vent the level of the one it
// replaces, so that the engines burn on; the change at staging starts from
// level 0. The attitude thrusters start at 0: the level they report holds the
// pilot's input of the frame, which reaches them anew every frame.
void VARNELL::DefineThrusters() {
  const ThrusterSet old = ThrustersOf(*this, configuration);
  const std::size_t kept = thrustersDefined == configuration ? old.engines : 0;
  double levels[std::size(old.handles)];
  for (std::size_t i = 0; i < kept; ++i) levels[i] = GetThrusterLevel(*old.handles[i]);
  ExhaustEffects fx = varnell::PrepareExhaustEffects();
  ClearExhaustRefs();
  ClearAttExhaustRefs();
  ClearThrusterDefinitions();
  if (configuration == 0)
    DefineBoosterSet(*this, fx);
  else if (configuration == 1)
    DefineUpperStageSet(*this, fx);
  thrustersDefined = configuration;
  enginesTurned = false;  // the new engines point straight
  for (std::size_t i = 0; i < kept; ++i) SetThrusterLevel(*old.handles[i], levels[i]);  // the fields name the new ones
}
