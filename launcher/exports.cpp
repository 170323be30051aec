// The module's entry points, under the undecorated C names the host looks up.
#include "Orbitersdk.h"
#include "varnell.h"

// Exported by the simulator but declared in none of its headers.
OAPIFUNC int Date2Int(char *date);

namespace {

char buildDate[] = "Apr 25 2006";  // the module version the host is told
int moduleVersion = 0;             // shared by every launcher; 0: not known yet

VARNELL *launcherOf(VESSEL *vessel) { return static_cast<VARNELL *>(vessel); }

}  // namespace

DLLCLBK VESSEL *ovcInit(OBJHANDLE hvessel, int flightmodel) {
  try {
    return new VARNELL(hvessel, flightmodel);
  } catch (...) {
    return nullptr;  // the host takes null for a vessel that could not be made
  }
}

DLLCLBK void ovcExit(VESSEL *vessel) {
  if (vessel) delete launcherOf(vessel);
}

DLLCLBK void ovcLoadStateEx(VESSEL *vessel, FILEHANDLE scn, void *status) {
  launcherOf(vessel)->LoadState(scn, status);
}

DLLCLBK void ovcSaveState(VESSEL *vessel, FILEHANDLE scn) { launcherOf(vessel)->SaveState(scn); }

// The host's answer 0 is not kept, so that it is asked again next time.
DLLCLBK int GetModuleVersion(void) {
  if (moduleVersion == 0) moduleVersion = Date2Int(buildDate);
  return moduleVersion;
}
