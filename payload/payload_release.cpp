// Releasing payloads as vessels of their own, from the end of the manifest: a
// top-level entry alone, or a stage together with the entries it carries,
// which are handed on to the new vessel as manifest messages, so that a stage
// built on the payload manager can release them in turn.
#include <cmath>

#include "common_vessel_ex.h"
#include "manifest_text.h"
#include "separated_body.h"

namespace {

const double PI = 3.14159265358979;
const double RAD_PER_DEG = PI / 180;  // [rad/deg]

const char *const ENTRY_KEYS[] = {"PAYLOAD", "STAGE"};  // by kind
const char *const CLOSING = "ENDSTAGE";

// A body turned by angle [rad] about the carrier's x axis, y towards z: it
// takes the attitude of its turned axes, and the carrier's angular velocity
// expressed in them, so that it turns in space as the carrier did.
void TurnBody(const VESSEL &carrier, double angle, VESSELSTATUS &status) {
  const VECTOR3 axes[3] = {_V(1, 0, 0), _V(0, std::cos(angle), std::sin(angle)),
                           _V(0, -std::sin(angle), std::cos(angle))};
  status.arot = AttitudeOfAxes(carrier, axes);
  const VECTOR3 spin = status.vrot;
  status.vrot = _V(dotp(spin, axes[0]), dotp(spin, axes[1]), dotp(spin, axes[2]));
}

}  // namespace

void COMMON_VESSEL_EX::SetReleaseVelocity(const VECTOR3 &v) {
  releaseVelOverride = v;
  releaseVelOverrideSet = true;
}

VESSEL *COMMON_VESSEL_EX::CreateVesselAt(const char *name, const char *className, const VECTOR3 &offset,
                                         const VECTOR3 &vel, const VECTOR3 &angVelIncrement) {
  VESSELSTATUS status = ReleaseStatus(offset, vel);
  status.vrot += angVelIncrement;
  OBJHANDLE created = oapiCreateVessel(name, className, status);
  return created ? oapiGetVesselInterface(created) : nullptr;
}

// A stage released while still open is closed: the open stage becomes the
// nearest one left, or entries read later would take its freed slot with
// themselves as their own stage.
VESSEL *COMMON_VESSEL_EX::ReleaseNextStage() {
  VESSEL *released = ReleaseLastEntry();
  for (int depth = 0; openStage != -1 && !entries[openStage].used && depth < MAX_PAYLOAD_ENTRIES; ++depth)
    openStage = entries[openStage].parent;
  return released;
}

// A vessel that the host refuses releases nothing: the entry stays in the
// manifest and an armed release velocity stays armed, for a later try.
VESSEL *COMMON_VESSEL_EX::ReleaseLastEntry() {
  const int last = LastUsedSlot();
  if (last < 0) return nullptr;
  const bool topLevel = entries[last].parent == -1;
  const int released = topLevel ? last : ReleasedStage(last);
  PAYLOAD_ENTRY &e = entries[released];
  if (!e.used) return nullptr;

  VESSELSTATUS status = ReleaseStatus(e.carrierPos, releaseVelOverrideSet ? releaseVelOverride : e.releaseVel);
  status.fuel = e.fuel;
  if (topLevel) TurnBody(*this, e.rotAngle * RAD_PER_DEG, status);  // a stage keeps the carrier's axes
  OBJHANDLE created = oapiCreateVessel(e.name, e.className, status);
  if (!created) return nullptr;
  releaseVelOverrideSet = false;
  e.used = false;

  VESSEL *vessel = oapiGetVesselInterface(created);
  if (!vessel) return nullptr;
  vessel->SetFuelMass(vessel->GetMaxFuelMass() * e.fuel);
  if (topLevel || e.kind != KIND_STAGE) return vessel;
  return HandOnStage(vessel, released, last) ? vessel : nullptr;
}

VESSELSTATUS COMMON_VESSEL_EX::ReleaseStatus(const VECTOR3 &offset, const VECTOR3 &push) const {
  VESSELSTATUS status = SeparatedBodyStatus(*this, offset, push);
  status.eng_main = status.eng_hovr = 0;
  return status;
}

int COMMON_VESSEL_EX::LastUsedSlot() const {
  for (int i = MAX_PAYLOAD_ENTRIES - 1; i >= 0; --i)
    if (entries[i].used) return i;
  return -1;
}

// The stage of the last entry leaves with it, and with that stage each
// enclosing stage of which it is the first entry.
int COMMON_VESSEL_EX::ReleasedStage(int last) const {
  int stage = entries[last].parent;
  while (entries[stage].parent != -1 && entries[stage].parent == stage - 1) stage = entries[stage].parent;
  return stage;
}

// Everything from the stage's slot to the last entry is the stage's, as the
// table holds the tree in reading order; a free slot ends it early. Offsets go
// out measured from the stage, the new vessel's origin. False when a line
// could not be handed to the message module: the entries after it stay.
bool COMMON_VESSEL_EX::HandOnStage(VESSEL *stage, int s, int last) {
  for (int k = s + 1; k <= last && entries[k].used; ++k) {
    PAYLOAD_ENTRY &e = entries[k];
    e.used = false;
    const char *const key = ENTRY_KEYS[e.kind == KIND_PAYLOAD ? KIND_PAYLOAD : KIND_STAGE];
    char text[MANIFEST_TEXT_SIZE];
    FormatEntryText(text, key, e, e.carrierPos - entries[s].carrierPos);
    try {
      SendManifestMessage(stage, key, text);
    } catch (...) {
      return false;
    }
    const bool nextSent = k + 1 <= last && entries[k + 1].used;
    const int closings = ClosingsAfter(entries, k, nextSent ? entries[k + 1].parent : -1, s);
    for (int c = 0; c < closings; ++c) SendManifestMessage(stage, CLOSING, CLOSING);
  }
  return true;
}
