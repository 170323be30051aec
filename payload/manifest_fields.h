// The nine fields of a payload or stage line, and the separation velocity an
// entry gets from its offset.
//
// A line is read into a record of its own before it reaches the manifest, so a
// line that does not read whole leaves the manifest as it was.
#pragma once

#include "OrbiterAPI.h"

const int MANIFEST_LINE_SIZE = 512;  // the reader looks at a line's first 511 characters
const int MANIFEST_WORD_SIZE = 128;  // names, mesh and class: at most 127 characters

struct MANIFEST_FIELDS {
  char name[MANIFEST_WORD_SIZE];
  char meshName[MANIFEST_WORD_SIZE];
  char className[MANIFEST_WORD_SIZE];
  VECTOR3 offset;   // from the payload stack origin, carrier frame [m]
  double mass;      // [kg]
  double rotAngle;  // [deg]
  double fuel;      // [fraction]
};

// Reads the fields from the text after the keyword and its blank, cutting the
// text into words in place. lineCut says the line went on past the text, so
// that a last word reaching the text's end may be only the start of a field.
// Returns null when all nine fields read, else why the line does not.
const char *ReadManifestFields(char *text, bool lineCut, MANIFEST_FIELDS &fields);

// On the axis (or at the origin) a payload is pushed forward; beside it,
// straight outward from the axis. Carrier frame [m/s].
VECTOR3 SeparationVelocity(const VECTOR3 &offset);
