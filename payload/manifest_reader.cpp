// Reading manifest lines into the manifest: a scenario line's keyword, the
// dispatch of a keyword, and the change one line makes.
//
// Entries go into the lowest free slot, and a stage stays open for the entries
// after it until its closing line, so the table holds the manifest's tree in
// reading order. An open stage carries over from the scenario to messages.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <limits>

#include "bounded_text.h"
#include "common_vessel_ex.h"
#include "manifest_fields.h"
#include "manifest_text.h"

namespace {

const int KEYWORD_SIZE = 128;      // what ParseOtherKeyword gets of a keyword
const int OTHER_LINE_SIZE = 2048;  // and of its line

const char *const MANIFEST_KEYWORDS[] = {"PAYLOAD", "STAGE", "ENDCVE", "ENDSTAGE"};

// An entry line's keyword includes its one blank: "PAYLOAD\t" opens nothing.
struct EntryKeyword {
  const char *text;
  unsigned short kind;
};
const EntryKeyword ENTRY_KEYWORDS[] = {{"PAYLOAD ", KIND_PAYLOAD}, {"STAGE ", KIND_STAGE}};
// ENDCVE is only ever read, never written.
const char *const CLOSING_KEYWORDS[] = {"ENDCVE", "ENDSTAGE"};

bool StartsWith(const char *text, const char *prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

}  // namespace

void COMMON_VESSEL_EX::ParseScenarioLine(const char *line) {
  char text[MANIFEST_LINE_SIZE];
  CopyBounded(text, sizeof text, line);
  char *word = SkipBlanks(text);
  *WordEnd(word) = '\0';
  if (*word) ParseKeyword(word, line);
}

void COMMON_VESSEL_EX::ParseKeyword(const char *keyword, const char *line) {
  char key[KEYWORD_SIZE], text[OTHER_LINE_SIZE];
  CopyBounded(key, sizeof key, keyword);
  CopyBounded(text, sizeof text, line);
  try {
    for (const char *manifestKeyword : MANIFEST_KEYWORDS) {
      if (std::strcmp(key, manifestKeyword) != 0) continue;
      ParseManifestLine(line);
      return;
    }
    ParseOtherKeyword(key, text);
  } catch (...) {
    // One line that cannot be taken in must not stop the carrier reading the rest.
  }
}

void COMMON_VESSEL_EX::ParseManifestLine(const char *line) {
  char text[MANIFEST_LINE_SIZE];
  CopyBounded(text, sizeof text, line);
  // The copy is full and the line goes on: its last field read may be cut short.
  const bool lineCut = std::strlen(text) == MANIFEST_LINE_SIZE - 1 && line[MANIFEST_LINE_SIZE - 1] != '\0';

  // A stage whose line is rejected still opens as far as its lines go: what
  // it holds goes with it, and its closing line closes it, not the stage
  // around it, which otherwise would take in the rejected stage's members
  // and lose its own closing. So also when the manifest is full: closing
  // lines take no slot and still close their stages.
  char *start = SkipBlanks(text);
  for (const EntryKeyword &k : ENTRY_KEYWORDS) {
    if (!StartsWith(start, k.text)) continue;
    const int slot = FreeEntrySlot();
    bool taken = false;
    if (rejectedStages > 0)
      RejectManifestLine(line, "it lies in a stage whose line was rejected");
    else if (slot < 0)
      RejectManifestLine(line, "the manifest is full");
    else
      taken = ReadEntry(slot, k.kind, start + std::strlen(k.text), lineCut, line);
    // Rejected stages nested deeper than the count goes are closed early
    // rather than the count wrapping round and their members taken in.
    if (!taken && k.kind == KIND_STAGE && rejectedStages < std::numeric_limits<decltype(rejectedStages)>::max())
      ++rejectedStages;
    return;
  }
  for (const char *closing : CLOSING_KEYWORDS) {
    if (!StartsWith(start, closing)) continue;
    if (rejectedStages > 0)
      --rejectedStages;
    else if (openStage != -1)
      openStage = entries[openStage].parent;
    return;
  }
  // Sent as a manifest line, it is none: say so, or the line is lost unheard.
  RejectManifestLine(line, "its keyword is not PAYLOAD or STAGE followed by one blank, nor a closing line");
}

int COMMON_VESSEL_EX::FreeEntrySlot() const {
  for (int i = 0; i < MAX_PAYLOAD_ENTRIES; ++i)
    if (!entries[i].used) return i;
  return -1;
}

bool COMMON_VESSEL_EX::ReadEntry(int slot, unsigned short kind, char *fieldText, bool lineCut, const char *line) {
  MANIFEST_FIELDS fields;
  if (const char *fault = ReadManifestFields(fieldText, lineCut, fields)) {
    RejectManifestLine(line, fault);
    return false;
  }
  PAYLOAD_ENTRY e = entries[slot];  // what the line does not set stays as the slot had it
  e.kind = kind;
  CopyBounded(e.name, sizeof e.name, fields.name);
  CopyBounded(e.className, sizeof e.className, fields.className);
  e.mass = fields.mass;
  e.rotAngle = fields.rotAngle;
  e.fuel = fields.fuel;
  e.mesh.meshName = fields.meshName;
  e.mesh.offset = fields.offset;
  // An entry saved or handed on in a line longer than the reader takes would
  // be lost at the next reading.
  if (!FitsManifestLine(e)) {
    RejectManifestLine(line, "its numbers are too large for the line written back to be read whole");
    return false;
  }
  e.used = true;
  e.mesh.hMesh = oapiLoadMesh(fields.meshName);
  e.parent = openStage;
  e.releaseVel = SeparationVelocity(fields.offset);
  entries[slot] = e;
  if (kind == KIND_STAGE) openStage = static_cast<short>(slot);
  return true;
}

// The carrier has no log of its own; the host's log shows the line as it was
// read, unprintable bytes as '?', so that it stays one line.
void COMMON_VESSEL_EX::RejectManifestLine(const char *line, const char *reason) const {
  char shown[MANIFEST_LINE_SIZE];
  CopyBounded(shown, sizeof shown, line);
  for (char *c = shown; *c; ++c)
    if (!std::isprint(static_cast<unsigned char>(*c))) *c = '?';
  const char *carrier = GetName();
  char text[2 * MANIFEST_LINE_SIZE];
  std::snprintf(text, sizeof text, "%s: manifest line rejected, %s: \"%s\"", carrier ? carrier : "", reason, shown);
  oapiWriteLog(text);
}
