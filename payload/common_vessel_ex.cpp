// The payload manager's life: construction, destruction, and its binding to
// the message module.
#include "common_vessel_ex.h"

#include "cvelmessage.h"

namespace {

// Resolved against the simulator's working folder, with the platform's library extension.
const char *const MESSAGE_MODULE_PATH = "Modules\\cvelmessage";

}  // namespace

COMMON_VESSEL_EX::COMMON_VESSEL_EX(OBJHANDLE hVessel) : VESSEL2(hVessel, 1) {
  // Room for every payload's mesh, taken now: a rebuild then allocates nothing
  // of the module's, and cannot fail halfway. Without it there is no carrier.
  payloadMeshes.reserve(MAX_PAYLOAD_ENTRIES);
  // The fields start at their declared values. A carrier without messages
  // still flies, so a failure here leaves the message module unbound.
  try {
    ClearPayloadMeshes();  // the configuration set-up adds the carrier's meshes, payloads included
    hMessageModule = LoadLibraryA(MESSAGE_MODULE_PATH);
    checkMessage = MessageFunction<CheckCMessageFunc>("CheckCMessage");
  } catch (...) {
  }
}

COMMON_VESSEL_EX::~COMMON_VESSEL_EX() {
  if (hMessageModule) FreeLibrary(hMessageModule);
}

// Looked up at every use, so that the library handle is all the binding keeps.
void COMMON_VESSEL_EX::SendManifestMessage(VESSEL *target, const char *key, const char *line) {
  if (auto send = MessageFunction<SendCMessageFunc>("SendCMessage")) send(target, key, line);
}
