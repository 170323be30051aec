// The dispenser: a stage that carries payloads and nothing else. A launcher
// that releases it hands it the entries it carries as manifest messages; it
// takes them in, shows and weighs them, keeps them in the scenario, and
// releases them one by one when the pilot presses J.
#pragma once

#include "Orbitersdk.h"
#include "common_vessel_ex.h"

class DISPENSER : public COMMON_VESSEL_EX {
 public:
  explicit DISPENSER(OBJHANDLE hVessel);

  void clbkSetClassCaps(FILEHANDLE cfg) override;  // the dispenser alone, until payloads come
  void clbkSaveState(FILEHANDLE scn) override;
  void clbkLoadStateEx(FILEHANDLE scn, void *status) override;
  void clbkPostStep(double simt, double simdt, double mjd) override;
  int clbkConsumeBufferedKey(DWORD key, bool down, char *kstate) override;

  // From nothing: its own mesh, shape and mass, then the payloads'.
  void Rebuild();
  // Every manifest message waiting, then a rebuild if one came.
  void TakeInManifests();

  MESHHANDLE meshDispenser = nullptr;
  bool releaseCommand = false;  // J pressed: release the next payload at the next step
};
