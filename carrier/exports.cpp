// The dispenser module's entry points. Its scenario state goes through the
// VESSEL2 callbacks, so creating and destroying it is all there is.
#include "dispenser.h"
#include "guarded.h"

// The host takes null for a vessel that could not be made.
DLLCLBK VESSEL *ovcInit(OBJHANDLE hvessel, int flightmodel) {
  return Guarded("ovcInit", static_cast<VESSEL *>(nullptr), [&]() -> VESSEL * { return new DISPENSER(hvessel); });
}

DLLCLBK void ovcExit(VESSEL *vessel) {
  Guarded("ovcExit", [&] {
    if (vessel) delete static_cast<DISPENSER *>(vessel);
  });
}
