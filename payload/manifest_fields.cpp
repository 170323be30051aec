// Reading the nine fields of a manifest line: three words, then six numbers.
// Every field must be there whole; a number must be all number and finite,
// since a released vessel placed or pushed by a non-finite value is lost; a
// mass is not below 0 and a fuel fraction lies in 0..1.
#include "manifest_fields.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "bounded_text.h"

namespace {

const int WORD_FIELDS = 3;
const int NUMBER_FIELDS = 6;
const int FIELDS = WORD_FIELDS + NUMBER_FIELDS;

const char *const NUMBER_FAULTS[NUMBER_FIELDS] = {
    "the offset's x is not a finite number", "the offset's y is not a finite number",
    "the offset's z is not a finite number", "the mass is not a finite number",
    "the angle is not a finite number",      "the fuel is not a finite number"};

const double CENTRED_OFFSET = 0.01;  // an offset this short counts as the origin [m]
const double AXIAL_COSINE = 0.99;    // nearer the axis than this (about 8.1 deg) counts as on it
const double AXIAL_PUSH = 0.5;       // forward, for a payload on the axis [m/s]
const double RADIAL_PUSH = 2.0;      // outward, for a payload beside the axis [m/s]

// Cuts text in place into at most `max` words; returns how many it found.
int SplitWords(char *text, char *words[], int max) {
  int count = 0;
  for (char *p = SkipBlanks(text); *p && count < max; p = SkipBlanks(p)) {
    words[count++] = p;
    p = WordEnd(p);
    if (*p) *p++ = '\0';
  }
  return count;
}

// strtod answers a number too large to hold with infinity, refused here, and
// raises the overflow flag on the way: the reading holds the floating-point
// exceptions, so that a host trapping them sees none for a refused line.
bool ReadNumber(const char *word, double &value) {
  std::fenv_t held;
  std::feholdexcept(&held);
  char *end = nullptr;
  value = std::strtod(word, &end);
  std::fesetenv(&held);
  return end != word && *end == '\0' && std::isfinite(value);
}

}  // namespace

const char *ReadManifestFields(char *text, bool lineCut, MANIFEST_FIELDS &fields) {
  const char *const textEnd = text + std::strlen(text);
  char *words[FIELDS];
  if (SplitWords(text, words, FIELDS) < FIELDS) return "it has fewer than nine fields";
  if (lineCut && words[FIELDS - 1] + std::strlen(words[FIELDS - 1]) == textEnd)
    return "its last field runs past the 511 characters read";

  char *const wordFields[WORD_FIELDS] = {fields.name, fields.meshName, fields.className};
  for (int i = 0; i < WORD_FIELDS; ++i) {
    if (std::strlen(words[i]) >= MANIFEST_WORD_SIZE) return "a name, mesh or class is longer than 127 characters";
    CopyBounded(wordFields[i], MANIFEST_WORD_SIZE, words[i]);
  }

  double numbers[NUMBER_FIELDS];
  for (int i = 0; i < NUMBER_FIELDS; ++i)
    if (!ReadNumber(words[WORD_FIELDS + i], numbers[i])) return NUMBER_FAULTS[i];
  fields.offset = _V(numbers[0], numbers[1], numbers[2]);
  fields.mass = numbers[3];
  fields.rotAngle = numbers[4];
  fields.fuel = numbers[5];
  if (fields.mass < 0) return "the mass is below 0";
  if (fields.fuel < 0 || fields.fuel > 1) return "the fuel is outside 0 to 1";
  return nullptr;
}

// An offset may be as long as any finite number: past the centred test it is
// worked on scaled by a power of two, which changes no digit of the result,
// so that its squares cannot overflow.
VECTOR3 SeparationVelocity(const VECTOR3 &offset) {
  const double largest = std::max({std::fabs(offset.x), std::fabs(offset.y), std::fabs(offset.z)});  // [m]
  if (largest <= CENTRED_OFFSET && length(offset) <= CENTRED_OFFSET) return _V(0, 0, AXIAL_PUSH);
  const int exponent = std::ilogb(largest);
  const VECTOR3 scaled =
      _V(std::scalbn(offset.x, -exponent), std::scalbn(offset.y, -exponent), std::scalbn(offset.z, -exponent));
  if (std::fabs(scaled.z / length(scaled)) > AXIAL_COSINE) return _V(0, 0, AXIAL_PUSH);
  const double fromAxis = std::sqrt(scaled.x * scaled.x + scaled.y * scaled.y);
  return _V(RADIAL_PUSH * scaled.x / fromAxis, RADIAL_PUSH * scaled.y / fromAxis, 0);
}
