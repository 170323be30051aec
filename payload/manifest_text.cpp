// Writing manifest text: an entry's line, and the closing lines after it.
#include "manifest_text.h"

#include <cstdio>
#include <cstring>

#include "manifest_fields.h"

void FormatEntryText(char (&text)[MANIFEST_TEXT_SIZE], const char *keyword, const PAYLOAD_ENTRY &e,
                     const VECTOR3 &offset) {
  const char *const mesh = e.mesh.meshName.c_str();
  if (keyword)
    std::snprintf(text, sizeof text, "%s %s %s %s %.2f %.2f %.2f %.2f %.2f %.2f", keyword, e.name, mesh, e.className,
                  offset.x, offset.y, offset.z, e.mass, e.rotAngle, e.fuel);
  else
    std::snprintf(text, sizeof text, "%s %s %s %.2f %.2f %.2f %.2f %.2f %.2f", e.name, mesh, e.className, offset.x,
                  offset.y, offset.z, e.mass, e.rotAngle, e.fuel);
}

bool FitsManifestLine(const PAYLOAD_ENTRY &e) {
  char text[MANIFEST_TEXT_SIZE];
  FormatEntryText(text, e.kind == KIND_STAGE ? "STAGE" : "PAYLOAD", e, e.mesh.offset);
  return std::strlen(text) < MANIFEST_LINE_SIZE;
}

// The reader closes one stage per closing line, so every stage that ends here
// needs its own, or the entries after it would be read into it.
int ClosingsAfter(const PAYLOAD_ENTRY (&entries)[MAX_PAYLOAD_ENTRIES], int i, int nextParent, int outermost) {
  int closings = 0;
  int stage = entries[i].kind == KIND_STAGE ? i : entries[i].parent;
  // A slot freed and read into again can leave parents that never lead back
  // to the top level: no walk goes further than the manifest is deep.
  while (stage >= 0 && stage < MAX_PAYLOAD_ENTRIES && stage != nextParent && closings < MAX_PAYLOAD_ENTRIES) {
    ++closings;
    if (stage == outermost) break;
    stage = entries[stage].parent;
  }
  return closings;
}
