// The launcher's two stack configurations: the full stack, booster with upper
// stage, and the upper stage alone after staging. Either is built from nothing
// at any time, so a rebuild after a manifest change or a payload release shows
// the vessel as it now is.
#include "varnell.h"

namespace {

const double BOOSTER_MASS = 13725;           // booster structure [kg]
const double UPPER_STAGE_MASS = 2130;        // upper-stage structure [kg]
const double FAIRING_MASS = 2085;            // both halves [kg]
const double FULL_STACK_FAIRING_Z = 30.737;  // where the fairing halves sit in the full stack [m]

struct StackDef {
  double size;            // mean radius [m]
  double structureMass;   // without fairing and payloads [kg]
  VECTOR3 touchdown[3];   // [m]
  VECTOR3 pmi;            // [m^2]
  VECTOR3 crossSections;  // [m^2]
  double cwZPos, cwZNeg, cwX, cwY;
  VECTOR3 rotDrag;
  double pitchMomentScale, bankMomentScale;
  VECTOR3 cameraOffset;  // [m]
};

// By configuration: 0 the full stack, 1 the upper stage alone. Neither makes lift.
// clang-format off
const StackDef STACKS[] = {
    // size, structure mass, touchdown points, PMI, cross sections, CW (+z, -z, x, y), rotational drag,
    // pitch and bank moment scales, camera offset
    {20.0, BOOSTER_MASS + UPPER_STAGE_MASS, {{0, -1, -17}, {-0.7, 0.7, -17}, {0.7, 0.7, -17}},
     {129.09, 128.98, 2.39}, {137.99, 139.15, 14.44}, 0.1, 0.3, 1.4, 1.4, {0.7, 0.7, 0.1}, 0.000001, 0, {0, 1.9, 0}},
    {20.0, UPPER_STAGE_MASS, {{-1, -2.3, -1}, {1, -2.3, -1}, {0, -2.3, 1}},
     {8.6, 8.58, 1.69}, {25.96, 25.5, 7.16}, 0.1, 0.3, 1.4, 1.4, {0.4, 0.4, 0.05}, 0.000001, 0, {0, 2, 3}},
};
// clang-format on

// The empty mass follows fairing and payloads only here, at a build.
void ApplyStack(VARNELL &l, const StackDef &s) {
  l.SetSize(s.size);
  l.SetEmptyMass(s.structureMass + l.fairingMass + l.GetPayloadMass());
  l.SetTouchdownPoints(s.touchdown[0], s.touchdown[1], s.touchdown[2]);
  l.SetPMI(s.pmi);
  l.SetCrossSections(s.crossSections);
  l.SetCW(s.cwZPos, s.cwZNeg, s.cwX, s.cwY);
  l.SetRotDrag(s.rotDrag);
  l.SetPitchMomentScale(s.pitchMomentScale);
  l.SetBankMomentScale(s.bankMomentScale);
  l.SetLiftCoeffFunc(nullptr);
  l.SetCameraOffset(s.cameraOffset);
}

// The jettison removes the halves by the indices kept here.
void AddFairingMeshes(VARNELL &l) {
  l.plf1MeshIndex = l.AddMesh(l.meshPlf1, &l.ofsPlf1);
  l.plf2MeshIndex = l.AddMesh(l.meshPlf2, &l.ofsPlf2);
}

}  // namespace

void VARNELL::Reconfigure() {
  if (configuration == 1)
    ConfigureUpperStage();
  else
    ConfigureFullStack();
}

// The fairing halves go first, so that they take the first mesh indices.
void VARNELL::ConfigureFullStack() {
  ClearPayloadMeshes();  // the launcher's own meshes go with the payloads'
  fairingMass = 0;
  if (fairingAttached) {
    AddFairingMeshes(*this);
    fairingMass = FAIRING_MASS;
  }
  configuration = 0;
  ApplyStack(*this, STACKS[0]);
  AddMesh(meshStg0, &ofsStg0);
  AddMesh(meshStg1B, &ofsStg1B);
  AddPayloadMeshes(_V(0, 0, 0));
  DefineThrusters();
  SetDefaultPropellantResource(phBooster);
}

// The upper stage's origin is the vessel's; the fairing halves and the payload
// stack move back by the upper stage's offset in the full stack. The fairing
// weighs with the stage until it is jettisoned.
void VARNELL::ConfigureUpperStage() {
  // At staging the vessel's origin moves forward from the booster's to the
  // upper stage's, so that the upper stage stays where it was drawn (and the
  // spent booster, made just before from the full stack, appears where the
  // booster was). A rebuild, or a state read in this configuration, is there already.
  if (configuration == 0) ShiftCentreOfMass(_V(0, 0, UPPER_STAGE_OFFSET));
  configuration = 1;
  upperStageOffset = UPPER_STAGE_OFFSET;
  ClearPayloadMeshes();
  const VECTOR3 origin = _V(0, 0, 0);
  AddMesh(meshStg1B, &origin);
  if (fairingAttached) {
    ofsPlf1.z = FULL_STACK_FAIRING_Z - upperStageOffset;
    ofsPlf2.z = FULL_STACK_FAIRING_Z - upperStageOffset;
    AddFairingMeshes(*this);
  }
  fairingMass = fairingAttached ? FAIRING_MASS : 0;
  ApplyStack(*this, STACKS[1]);
  AddPayloadMeshes(_V(0, 0, -upperStageOffset));
  DefineThrusters();
  SetDefaultPropellantResource(phUpperStage);
}
