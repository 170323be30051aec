// The dispenser module's entry points. Its scenario state goes through the
// VESSEL2 callbacks, so creating and destroying it is all there is.
#include "dispenser.h"

DLLCLBK VESSEL *ovcInit(OBJHANDLE hvessel, int flightmodel) {
  try {
    return new DISPENSER(hvessel);
  } catch (...) {
    return nullptr;  // the host takes null for a vessel that could not be made
  }
}

DLLCLBK void ovcExit(VESSEL *vessel) {
  if (vessel) delete static_cast<DISPENSER *>(vessel);
}
