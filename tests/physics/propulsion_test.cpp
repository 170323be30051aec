// Thrust and propellant flow, and a burn by the rocket equation.
#include "sim/physics/propulsion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "sim/physics/planet/planet.h"
#include "sim/world/vessel.h"
#include "tests/support/tree.h"

using namespace sim;

namespace {

// One tank and one thruster pushing along +z from the tail.
Vessel engineTest(double ispRef) {
  Vessel v;
  v.emptyMass = 500;
  v.tanks.push_back({1, 1000, 1000, 1});
  v.thrusters.push_back(
      {2, _V(0, 0, -4), _V(0, 0, 1), 50000, 1, 3305.97, ispRef, 101.4e3, 1, 0, 1});  // id 2 on tank 1, at full level
  return v;
}

}  // namespace

// The flow divides by the tank's efficiency, as the simulator's Vessel::UpdateThrustForces draws it.
TEST(thruster, loses_thrust_to_ambient_pressure_by_its_isp_ratio_but_draws_the_same_flow_over_its_tanks_efficiency) {
  Vessel v = engineTest(3050.91);
  v.tanks[0].efficiency = 0.8;
  const physics::Propulsion vacuum = physics::propulsionOf(v, 0, 0.02);
  const physics::Propulsion seaLevel = physics::propulsionOf(v, 101400, 0.02);
  EXPECT_NEAR(vacuum.force.z, 50000, 1e-9);
  EXPECT_NEAR(seaLevel.force.z, 50000 * 3050.91 / 3305.97, 1e-9);
  EXPECT_NEAR(vacuum.massFlow, 50000 / (0.8 * 3305.97), 1e-12);
  EXPECT_EQ(seaLevel.massFlow, vacuum.massFlow);
  EXPECT_EQ(physics::propulsionOf(v, 2e6, 0.02).force.z, 0);  // far past the point of no thrust
  EXPECT_NEAR(physics::propulsionOf(engineTest(0), 101400, 0.02).force.z, 50000, 1e-9);
}

// The simulator's Vessel::UpdateThrustForces: each frame a thruster runs at
// clamp(0..1, stored level + override); one that would run from an empty or
// missing tank is switched off, stored level too.
TEST(thruster, runs_at_its_clamped_stored_level_and_is_switched_off_without_propellant) {
  Vessel empty = engineTest(0), deleted = engineTest(0), negative = engineTest(0);
  empty.tanks[0].mass = 0;
  deleted.thrusters[0].tank = 0;
  deleted.tanks.clear();
  negative.thrusters[0].permanent = -0.3;
  // Vessel, level it runs at, level kept.
  const std::tuple<const char *, Vessel *, double, double> cases[] = {
      {"empty tank", &empty, 0, 0}, {"deleted tank", &deleted, 0, 0}, {"negative level", &negative, 0, -0.3}};
  for (const auto &[what, v, level, kept] : cases) {
    physics::startFrame(*v);
    const Thruster &th = v->thrusters[0];
    EXPECT_EQ(std::make_tuple(th.level, th.permanent, physics::propulsionOf(*v, 0, 0.02).force.z),
              std::make_tuple(level, kept, 0.0))
        << what;
  }
}

// The keyboard reaches the focus vessel alone, as an override of one frame on
// the attitude groups of its mode, added to what its module set and reported
// in the level (Vessel::ApplyUserAttitudeControls, Vessel::UpdateThrustForces).
TEST(thruster, the_keyboard_adds_to_the_focus_vessels_attitude_levels_for_one_frame) {
  ScratchWorld w(kBareProbe);
  std::vector<std::pair<Vessel *, THRUSTER_HANDLE>> pitch;  // the focus vessel first
  for (const char *name : {"focus", "other"}) {
    Vessel *v = flying(*w, name, kDeepSpace, _V(0, 0, 0));
    THRUSTER_HANDLE th = v->iface->CreateThruster(_V(0, 0, 2), _V(0, 1, 0), 10, v->iface->CreatePropellantResource(10));
    v->iface->CreateThrusterGroup(&th, 1, THGROUP_ATT_PITCHUP);
    v->iface->SetThrusterLevel(th, 0.25);
    pitch.push_back({v, th});
  }
  w->focusVessel = "focus";
  // The input held, and the focus vessel's level in the frame: added, clamped, and gone with the input.
  for (const auto &[input, level] : {std::pair{0.5, 0.75}, {1.0, 1.0}, {0.0, 0.25}}) {
    w->cockpit().input[THGROUP_ATT_PITCHUP] = input;
    w->step();
    EXPECT_EQ(std::make_pair(pitch[0].first->iface->GetThrusterLevel(pitch[0].second),
                             pitch[1].first->iface->GetThrusterLevel(pitch[1].second)),
              std::make_pair(level, 0.25))
        << input;
  }
}

TEST(burn, gains_the_speed_of_the_rocket_equation_in_the_time_its_flow_allows) {
  ScratchWorld w(kBareProbe);
  Vessel *v = flying(*w, "rocket", kDeepSpace, _V(0, 0, 0));
  const double propellant = 1234.5, thrust = 21000, isp = 3100;  // [kg], [N], [m/s]
  PROPELLANT_HANDLE tank = v->iface->CreatePropellantResource(propellant);
  THRUSTER_HANDLE th = v->iface->CreateThruster(_V(0, 0, -3), _V(0, 0, 1), thrust, tank, isp);
  v->iface->SetThrusterLevel(th, 1);
  const double m0 = v->mass(), burnTime = propellant * isp / thrust;
  int steps = 0;
  while (v->iface->GetPropellantMass(tank) > 0 && steps < 100000) {
    w->step();
    ++steps;
  }
  EXPECT_EQ(steps, static_cast<int>(std::ceil(burnTime / w->dt)));
  // The frame in which the tank runs dry is pushed to its end, as in the
  // simulator; from the next on the engine is off for good.
  const double overrun = steps * w->dt - burnTime;  // [s]
  const double expected = isp * std::log(m0 / (m0 - propellant)) + thrust * overrun / (m0 - propellant);
  EXPECT_NEAR(length(v->vel) / expected, 1, 1e-6);
  w->step();  // finds the tank empty
  const VECTOR3 coasting = v->vel;
  v->tanks[0].mass = propellant;  // refilled: still off
  run(*w, 10);
  EXPECT_LT(length(v->vel - coasting), 1e-3);
  EXPECT_EQ(v->iface->GetThrusterLevel(th), 0);
}
