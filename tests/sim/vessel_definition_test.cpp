// What modules define on a vessel through VESSEL, as the host keeps it.
#include <gtest/gtest.h>

#include "sim/api/handles.h"
#include "sim/world/world.h"
#include "tests/support/tree.h"

namespace {

sim::Vessel *add(ScratchWorld &w, const char *name) { return w->createVessel(name, "Probe", nullptr); }

}  // namespace

TEST(vessel_meshes, add_mesh_fills_the_lowest_slot_that_del_mesh_emptied) {
  ScratchWorld pw("Mass = 100\n");
  sim::Vessel *v = add(pw, "V");
  MESHHANDLE box = pw->resources().loadMeshGlobal("Probe");
  const VECTOR3 ofs = _V(0, 0, 5);
  for (int i = 0; i < 4; ++i) v->iface->AddMesh(box);
  EXPECT_TRUE(v->iface->DelMesh(2) && v->iface->DelMesh(1));
  EXPECT_EQ(std::vector<UINT>({v->iface->AddMesh(box, &ofs), v->iface->AddMesh(box), v->iface->AddMesh(box)}),
            std::vector<UINT>({1, 2, 4}));
  EXPECT_TRUE(v->meshes[1].ofs.z == 5 && v->meshes[1].visibility == MESHVIS_EXTERNAL);
  EXPECT_FALSE(v->iface->DelMesh(9));
  EXPECT_EQ(pw->log().refusedCount(), 1);
}

TEST(vessel_handles, stale_and_foreign_handles_are_refused_and_change_nothing) {
  ScratchWorld pw("Mass = 100\n");
  sim::Vessel *a = add(pw, "A");
  sim::Vessel *b = add(pw, "B");
  PROPELLANT_HANDLE tank = a->iface->CreatePropellantResource(100);
  THRUSTER_HANDLE th = a->iface->CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 10, tank, 3000);
  EXPECT_EQ(b->iface->GetPropellantMass(tank), 0);
  b->iface->SetThrusterLevel(th, 1);
  a->iface->ClearThrusterDefinitions();
  a->iface->SetThrusterLevel(th, 1);
  a->iface->CreateThrusterGroup(&th, 1, THGROUP_MAIN);
  EXPECT_EQ(pw->log().refusedCount(), 4);
  EXPECT_TRUE(a->group(THGROUP_MAIN)->thrusters.empty());
  EXPECT_EQ(b->iface->GetThrusterLevel(th), 0);

  pw->deleteVessel(b);
  VESSEL2 ghost(b, 1);  // an interface still naming the deleted vessel
  EXPECT_EQ(ghost.GetMass() + ghost.GetEmptyMass(), 0);
  EXPECT_TRUE(oapiGetVesselInterface(b) == nullptr && pw->fromHandle(b) == nullptr);
  EXPECT_EQ(pw->log().refusedCount(), 8);  // and the last GetThrusterLevel, the masses, the look-up
  // What a refused call was to write out is zeroed: a caller may read it.
  VECTOR3 out[3] = {{7, 7, 7}, {7, 7, 7}, {7, 7, 7}};
  ghost.Local2Rel(_V(1, 2, 3), out[0]);
  ghost.GlobalRot(_V(1, 2, 3), out[1]);
  ghost.GetAngularVel(out[2]);
  EXPECT_EQ(length(out[0]) + length(out[1]) + length(out[2]), 0);
  EXPECT_EQ(pw->log().refusedCount(), 11);
}

// Deleting a tank unlinks its thrusters and clears the handle; the fuel mass
// acts on the default tank. Contents are taken as given, capped only by the
// capacity when set, and GetMass takes in a tank created or deleted once the
// frame is over or a mass is set, as in the simulator (Vessel::CreatePropellantResource,
// Vessel::SetPropellantMass, and Vessel::UpdateMass at the end of Vessel::Update).
TEST(vessel_tanks, deleting_a_tank_unlinks_its_thrusters_and_fuel_mass_acts_on_the_default_tank) {
  ScratchWorld pw("Mass = 100\n");
  sim::Vessel *v = add(pw, "V");
  PROPELLANT_HANDLE t1 = v->iface->CreatePropellantResource(100);
  PROPELLANT_HANDLE t2 = v->iface->CreatePropellantResource(200, 50);
  THRUSTER_HANDLE on1 = v->iface->CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 10, t1);
  THRUSTER_HANDLE on2 = v->iface->CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 10, t2);
  PROPELLANT_HANDLE kept = t1;
  v->iface->DelPropellantResource(t1);
  EXPECT_EQ(t1, nullptr);
  EXPECT_TRUE(v->thruster(sim::idOf(on1))->tank == 0 && v->thruster(sim::idOf(on2))->tank != 0);
  EXPECT_EQ(v->iface->GetMass(), 100);         // the tanks count from the end of the frame
  EXPECT_EQ(v->iface->GetMaxFuelMass(), 200);  // the first tank left is the default now
  ASSERT_EQ(pw->record().events().size(), 2u);
  EXPECT_EQ(pw->record().events()[1].kind, sim::EventKind::tankDeleted);
  v->iface->DelPropellantResource(kept);
  EXPECT_EQ(pw->log().refusedCount(), 1);
  pw->step();
  EXPECT_EQ(v->iface->GetMass(), 150);

  sim::Vessel *w = add(pw, "W");
  w->iface->CreatePropellantResource(100, 130);
  PROPELLANT_HANDLE big = w->iface->CreatePropellantResource(200);
  std::vector<double> fuel = {w->iface->GetFuelMass()};
  for (double mass : {150.0, -5.0}) {
    w->iface->SetFuelMass(mass);
    fuel.push_back(w->iface->GetFuelMass());
  }
  w->iface->SetDefaultPropellantResource(big);
  fuel.push_back(w->iface->GetFuelMass());
  EXPECT_EQ(fuel, std::vector<double>({130, 100, -5, 200}));
  EXPECT_EQ(w->iface->GetMass(), 295);
  w->iface->CreatePropellantResource(5);
  w->iface->SetEmptyMass(200);
  EXPECT_EQ(w->iface->GetMass(), 400);
}

TEST(vessel_thruster_groups, group_level_is_the_mean_of_its_members_and_group_settings_are_clamped) {
  ScratchWorld pw("Mass = 100\n");
  sim::Vessel *v = add(pw, "V");
  PROPELLANT_HANDLE tank = v->iface->CreatePropellantResource(10);
  THRUSTER_HANDLE th[2] = {v->iface->CreateThruster(_V(0, 0, 0), _V(0, 0, 3), 10, tank),
                           v->iface->CreateThruster(_V(0, 0, 0), _V(0, 0, 1), 10, tank)};
  v->iface->CreateThrusterGroup(th, 2, THGROUP_MAIN);
  // As in the simulator (Vessel::SetThrusterLevel, IncThrusterLevel): a level
  // is kept as given and reported within 0..1; group settings are clamped
  // (VESSEL::SetThrusterGroupLevel), group increments are not.
  v->iface->SetThrusterLevel(th[0], 1);
  v->iface->SetThrusterLevel(th[1], -0.5);
  EXPECT_EQ(v->iface->GetThrusterLevel(th[1]), 0);
  EXPECT_EQ(v->iface->GetThrusterGroupLevel(THGROUP_MAIN), 0.5);
  v->iface->SetThrusterGroupLevel(THGROUP_MAIN, 1.7);
  v->iface->SetThrusterGroupLevel(THGROUP_MAIN, 1);
  EXPECT_EQ(v->iface->GetThrusterLevel(th[1]), 1);
  v->iface->IncThrusterGroupLevel(THGROUP_MAIN, -1.0 / 3);
  EXPECT_EQ(v->iface->GetThrusterGroupLevel(THGROUP_MAIN), 1 - 1.0 / 3);
  v->iface->IncThrusterGroupLevel(THGROUP_MAIN, -2);
  EXPECT_EQ(std::make_pair(v->iface->GetThrusterLevel(th[0]), v->thrusters[0].permanent),
            std::make_pair(0.0, 1 - 1.0 / 3 - 2));
  EXPECT_EQ(v->iface->GetThrusterGroupLevel(THGROUP_HOVER), 0);
  v->iface->SetThrusterGroupLevel(THGROUP_HOVER, 1);  // no such group: nothing happens

  std::vector<std::string> changes;
  for (const sim::Event &e : pw->record().events())
    if (e.kind == sim::EventKind::groupLevel) changes.push_back(e.detail);
  EXPECT_EQ(changes, (std::vector<std::string>{"MAIN 1", "MAIN 0.667", "MAIN 0"}));  // rounded to be read
  EXPECT_EQ(v->thrusters[0].dir.z, 1);                                               // normalised at creation
  v->iface->SetThrusterDir(th[0], _V(0, 0, 2));
  EXPECT_EQ(v->thrusters[0].dir.z, 2);  // as given afterwards
}

// VESSEL::GetManualControlLevel reads the simulator's one set of inputs
// (Orbiter::ManCtrlLevel) for whichever vessel asks, through that vessel's RCS
// mode: the mode it asks for picks rotation inputs (bit 1), linear inputs
// (bit 2) or both, MANCTRL_ATTMODE being the vessel's mode and MANCTRL_REVMODE
// the other one. Main, retro, hover and user groups read 0.
TEST(vessel_attitude_inputs, every_vessel_reads_the_one_set_of_inputs_through_its_own_rcs_mode) {
  ScratchWorld pw("Mass = 100\n");
  sim::Vessel *v = add(pw, "V");
  sim::Vessel *other = add(pw, "W");
  double *input = pw->cockpit().input;
  for (int t = 0; t < 15; ++t) input[t] = (t + 1) / 16.0;
  struct Row {
    int rcs;
    DWORD mode;
    bool rotation, linear;  // which inputs it reads
  };
  const Row rows[] = {{RCS_ROT, MANCTRL_ATTMODE, true, false},   {RCS_LIN, MANCTRL_ATTMODE, false, true},
                      {RCS_NONE, MANCTRL_ATTMODE, false, false}, {RCS_ROT, MANCTRL_REVMODE, false, true},
                      {RCS_LIN, MANCTRL_REVMODE, true, false},   {RCS_NONE, MANCTRL_REVMODE, false, false},
                      {RCS_NONE, MANCTRL_ROTMODE, true, false},  {RCS_ROT, MANCTRL_LINMODE, false, true},
                      {RCS_NONE, MANCTRL_ANYMODE, true, true}};
  for (const Row &r : rows) {
    v->iface->SetAttitudeMode(r.rcs);
    for (int t = 0; t < 15; ++t) {
      const bool rotation = t >= THGROUP_ATT_PITCHUP && t <= THGROUP_ATT_BANKRIGHT;
      const bool reads = rotation ? r.rotation : t >= THGROUP_ATT_RIGHT && r.linear;
      EXPECT_EQ(v->iface->GetManualControlLevel(THGROUP_TYPE(t), r.mode), reads ? input[t] : 0)
          << "rcs " << r.rcs << " mode " << r.mode << " group " << t;
    }
  }
  EXPECT_EQ(v->iface->GetManualControlLevel(THGROUP_USER, MANCTRL_ANYMODE), 0);
  EXPECT_EQ(other->iface->GetManualControlLevel(THGROUP_ATT_YAWLEFT, MANCTRL_ATTMODE, MANCTRL_KEYBOARD), input[5]);
  EXPECT_EQ(other->iface->GetManualControlLevel(THGROUP_ATT_YAWLEFT, MANCTRL_ATTMODE, MANCTRL_JOYSTICK), 0);
}

// A new vessel is in rotation mode (Vessel::SetDefaultState: attmode = 1).
// Vessel::SetAttMode reports a change only; Vessel::ToggleAttMode swaps
// rotation and linear (attmode ^= 3) and leaves an RCS that is off alone.
TEST(vessel_attitude_inputs, the_rcs_mode_starts_in_rotation_and_toggles_between_rotation_and_linear) {
  ScratchWorld pw("Mass = 100\n");
  VESSEL &v = *add(pw, "V")->iface;
  EXPECT_EQ(v.GetAttitudeMode(), RCS_ROT);
  EXPECT_FALSE(v.SetAttitudeMode(RCS_ROT));
  EXPECT_EQ(std::vector<int>({v.ToggleAttitudeMode(), v.GetAttitudeMode(), v.ToggleAttitudeMode()}),
            std::vector<int>({RCS_LIN, RCS_LIN, RCS_ROT}));
  EXPECT_TRUE(v.SetAttitudeMode(RCS_NONE));
  EXPECT_EQ(v.ToggleAttitudeMode(), RCS_NONE);
  EXPECT_FALSE(v.SetAttitudeMode(3));
  EXPECT_EQ(v.GetAttitudeMode(), RCS_NONE);
  EXPECT_EQ(pw->log().refusedCount(), 1);
}
