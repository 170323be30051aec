// Saving the manifest into the carrier's scenario block, in reading order, so
// that reading the scenario back gives the same entries in the same stages.
#include "common_vessel_ex.h"
#include "manifest_text.h"

namespace {

// The host's writer takes writable texts.
char PAYLOAD_KEY[] = "PAYLOAD";
char STAGE_KEY[] = "STAGE";
char CLOSING_KEY[] = "ENDSTAGE";
char NO_VALUE[] = "";

}  // namespace

// Offsets are the entries' own, from the payload stack origin, so a reload
// places them alike in either configuration of the carrier. Saving stops at
// the first free slot.
void COMMON_VESSEL_EX::SaveManifest(FILEHANDLE scn) const {
  for (int i = 0; i < MAX_PAYLOAD_ENTRIES && entries[i].used; ++i) {
    const PAYLOAD_ENTRY &e = entries[i];
    char value[MANIFEST_TEXT_SIZE];
    FormatEntryText(value, nullptr, e, e.mesh.offset);
    oapiWriteScenario_string(scn, e.kind == KIND_STAGE ? STAGE_KEY : PAYLOAD_KEY, value);
    const bool nextWritten = i + 1 < MAX_PAYLOAD_ENTRIES && entries[i + 1].used;
    const int closings = ClosingsAfter(entries, i, nextWritten ? entries[i + 1].parent : -1, -1);
    for (int c = 0; c < closings; ++c) oapiWriteScenario_string(scn, CLOSING_KEY, NO_VALUE);
  }
}
