// VESSEL2's default callbacks: the host's own work where the simulator does
// some (default scenario state, its HUD elements), nothing elsewhere.
#include "sim/api/vessel_api.h"

VESSEL2::VESSEL2(OBJHANDLE h, int fmodel) : VESSEL(h, fmodel) { version = 1; }

void VESSEL2::clbkSetClassCaps(FILEHANDLE cfg) {}

void VESSEL2::clbkSaveState(FILEHANDLE scn) { SaveDefaultState(scn); }

void VESSEL2::clbkLoadStateEx(FILEHANDLE scn, void *status) {
  char *line = nullptr;
  while (oapiReadScenario_nextline(scn, line)) ParseScenarioLineEx(line, status);
}

void VESSEL2::clbkSetStateEx(const void *status) {}
void VESSEL2::clbkPostCreation() {}
void VESSEL2::clbkFocusChanged(bool getfocus, OBJHANDLE hNewVessel, OBJHANDLE hOldVessel) {}
void VESSEL2::clbkPreStep(double simt, double simdt, double mjd) {}
void VESSEL2::clbkPostStep(double simt, double simdt, double mjd) {}
bool VESSEL2::clbkPlaybackEvent(double simt, double event_t, const char *event_type, const char *event) {
  return false;
}
void VESSEL2::clbkVisualCreated(VISHANDLE vis, int refcount) {}
void VESSEL2::clbkVisualDestroyed(VISHANDLE vis, int refcount) {}

// The simulator draws its own HUD elements here. Headless there is nothing to
// see, so no text is drawn; the cockpit notes that they were asked for.
void VESSEL2::clbkDrawHUD(int mode, const HUDPAINTSPEC *hps, HDC hDC) {
  if (sim::World *w = sim::World::current()) w->cockpit().ownElementsDrawn();
}

void VESSEL2::clbkRCSMode(int mode) {}
void VESSEL2::clbkADCtrlMode(DWORD mode) {}
void VESSEL2::clbkHUDMode(int mode) {}
void VESSEL2::clbkMFDMode(int mfd, int mode) {}
void VESSEL2::clbkNavMode(int mode, bool active) {}
void VESSEL2::clbkDockEvent(int dock, OBJHANDLE mate) {}
void VESSEL2::clbkAnimate(double simt) {}
int VESSEL2::clbkConsumeDirectKey(char *kstate) { return 0; }
int VESSEL2::clbkConsumeBufferedKey(DWORD key, bool down, char *kstate) { return 0; }
bool VESSEL2::clbkLoadGenericCockpit() { return false; }
bool VESSEL2::clbkLoadPanel(int id) { return false; }
bool VESSEL2::clbkPanelMouseEvent(int id, int event, int mx, int my) { return false; }
bool VESSEL2::clbkPanelRedrawEvent(int id, int event, SURFHANDLE surf) { return false; }
bool VESSEL2::clbkLoadVC(int id) { return false; }
bool VESSEL2::clbkVCMouseEvent(int id, int event, VECTOR3 &p) { return false; }
bool VESSEL2::clbkVCRedrawEvent(int id, int event, SURFHANDLE surf) { return false; }
