// The module's entry points, under the undecorated C names the host looks up.
// Each runs its work through Guarded: no exception reaches the host.
#include "Orbitersdk.h"
#include "guarded.h"
#include "varnell.h"

// Exported by the simulator but declared in none of its headers.
OAPIFUNC int Date2Int(char *date);

namespace {

char buildDate[] = "Apr 25 2006";  // the module version the host is told
int moduleVersion = 0;             // shared by every launcher; 0: not known yet

VARNELL *launcherOf(VESSEL *vessel) { return static_cast<VARNELL *>(vessel); }

}  // namespace

// The host takes null for a vessel that could not be made.
DLLCLBK VESSEL *ovcInit(OBJHANDLE hvessel, int flightmodel) {
  return Guarded("ovcInit", static_cast<VESSEL *>(nullptr),
                 [&]() -> VESSEL * { return new VARNELL(hvessel, flightmodel); });
}

DLLCLBK void ovcExit(VESSEL *vessel) {
  Guarded("ovcExit", [&] {
    if (vessel) delete launcherOf(vessel);
  });
}

DLLCLBK void ovcLoadStateEx(VESSEL *vessel, FILEHANDLE scn, void *status) {
  Guarded("ovcLoadStateEx", [&] { launcherOf(vessel)->LoadState(scn, status); });
}

DLLCLBK void ovcSaveState(VESSEL *vessel, FILEHANDLE scn) {
  Guarded("ovcSaveState", [&] { launcherOf(vessel)->SaveState(scn); });
}

// The host's answer 0 is not kept, so that it is asked again next time.
DLLCLBK int GetModuleVersion(void) {
  return Guarded("GetModuleVersion", 0, [] {
    if (moduleVersion == 0) moduleVersion = Date2Int(buildDate);
    return moduleVersion;
  });
}
