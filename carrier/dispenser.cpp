// The dispenser's definition and callbacks. Its structure is fixed here, not
// in its class file: a drum of 1.2 m radius and 1.5 m length.
#include "dispenser.h"

#include "guarded.h"

namespace {

const char MESH_NAME[] = "Varnell\\Dispenser";
const double STRUCTURE_MASS = 450;                // without payloads [kg]
const double MEAN_RADIUS = 1.2;                   // [m]
const VECTOR3 PMI = {0.55, 0.55, 0.72};           // a drum, taken as solid [m^2]
const VECTOR3 CROSS_SECTIONS = {3.6, 3.6, 4.52};  // [m^2]
const double CW_Z_POS = 0.9, CW_Z_NEG = 0.9, CW_X = 1.0, CW_Y = 1.0;
const VECTOR3 ROT_DRAG = {0.1, 0.1, 0.1};
// It rests on its aft face, where it sat on its carrier [m].
const VECTOR3 TOUCHDOWN[3] = {{0, -1.2, -0.75}, {-1.04, 0.6, -0.75}, {1.04, 0.6, -0.75}};

const DWORD MODIFIER_KEYS[] = {OAPI_KEY_LCONTROL, OAPI_KEY_RCONTROL, OAPI_KEY_LSHIFT, OAPI_KEY_RSHIFT};

}  // namespace

DISPENSER::DISPENSER(OBJHANDLE hVessel) : COMMON_VESSEL_EX(hVessel) { meshDispenser = oapiLoadMeshGlobal(MESH_NAME); }

void DISPENSER::clbkSetClassCaps(FILEHANDLE cfg) {
  Guarded("clbkSetClassCaps", [&] { Rebuild(); });
}

// Clearing the payload meshes clears the dispenser's own too, so it is added again first.
void DISPENSER::Rebuild() {
  ClearPayloadMeshes();
  AddMesh(meshDispenser);
  SetSize(MEAN_RADIUS);
  SetEmptyMass(STRUCTURE_MASS + GetPayloadMass());
  SetPMI(PMI);
  SetCrossSections(CROSS_SECTIONS);
  SetCW(CW_Z_POS, CW_Z_NEG, CW_X, CW_Y);
  SetRotDrag(ROT_DRAG);
  SetTouchdownPoints(TOUCHDOWN[0], TOUCHDOWN[1], TOUCHDOWN[2]);
  AddPayloadMeshes(_V(0, 0, 0));  // the offsets handed over are measured from the dispenser's origin
}

// A dispenser released in the step just before a save has its manifest still
// waiting in the message module, which keeps nothing across a save and a load:
// it is taken in first, as the next step would have, or the reload loses it.
void DISPENSER::clbkSaveState(FILEHANDLE scn) {
  Guarded("clbkSaveState", [&] {
    TakeInManifests();
    SaveDefaultState(scn);
    SaveManifest(scn);
  });
}

void DISPENSER::clbkLoadStateEx(FILEHANDLE scn, void *status) {
  Guarded("clbkLoadStateEx", [&] {
    char *line;
    while (oapiReadScenario_nextline(scn, line)) {
      ParseScenarioLine(line);
      ParseScenarioLineEx(line, status);
    }
    Rebuild();
  });
}

// Manifests that came in and a release both change what the dispenser
// carries. What came in is placed before anything leaves: a payload is
// released from where it was placed.
void DISPENSER::clbkPostStep(double simt, double simdt, double mjd) {
  Guarded("clbkPostStep", [&] {
    TakeInManifests();
    if (releaseCommand) {
      releaseCommand = false;
      ReleaseNextStage();
      Rebuild();
    }
  });
}

// J with Shift or Control held is left to the host.
int DISPENSER::clbkConsumeBufferedKey(DWORD key, bool down, char *kstate) {
  return Guarded("clbkConsumeBufferedKey", 0, [&] {
    if (!down) return 0;
    for (DWORD modifier : MODIFIER_KEYS)
      if (KEYDOWN(kstate, modifier)) return 0;
    if (key != OAPI_KEY_J) return 0;
    releaseCommand = true;
    return 1;
  });
}

void DISPENSER::TakeInManifests() {
  bool arrived = false;
  while (ReceiveManifestMessages()) arrived = true;
  if (arrived) Rebuild();
}
