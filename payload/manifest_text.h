// Writing manifest text, for the scenario (SaveManifest) and for the messages
// that hand a released stage its entries (ReleaseNextStage). Both write what
// the manifest reader reads back into the same tree.
#pragma once

#include <cstddef>

#include "payload_entry.h"

const std::size_t MANIFEST_TEXT_SIZE = 1024;  // a written line; a longer one is cut

// The nine fields of an entry, its offset given apart, numbers with two
// decimals; with a keyword, the keyword first.
void FormatEntryText(char (&text)[MANIFEST_TEXT_SIZE], const char *keyword, const PAYLOAD_ENTRY &e,
                     const VECTOR3 &offset);

// Whether the entry's line, as saved (its own offset, the keyword of its
// kind first), is short enough for the manifest reader to take in whole.
bool FitsManifestLine(const PAYLOAD_ENTRY &e);

// How many closing lines follow entry i, one per stage that ends there: the
// stage that entry i is (a stage without members ends at once) or lies in, and
// its enclosing stages, up to the stage that the next entry written lies in
// (nextParent; -1 when none follows). The count stops after the stage
// `outermost`, if it is reached (-1: at the top level).
int ClosingsAfter(const PAYLOAD_ENTRY (&entries)[MAX_PAYLOAD_ENTRIES], int i, int nextParent, int outermost);
