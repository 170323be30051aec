// VESSEL: the mode of the reaction control system, and the attitude inputs of
// the person at the controls as each vessel reads them.
#include "sim/api/vessel_api.h"

using sim::api::self;

namespace {

// An RCS mode is also the set of inputs it takes, as bits: rotation 1, linear 2.
constexpr int kRotationInputs = RCS_ROT, kLinearInputs = RCS_LIN;

int otherMode(int mode) { return mode == RCS_ROT ? RCS_LIN : mode == RCS_LIN ? RCS_ROT : RCS_NONE; }

int inputsAsked(DWORD mode, int rcsMode) {
  switch (mode) {
    case MANCTRL_ATTMODE:
      return rcsMode;
    case MANCTRL_REVMODE:
      return otherMode(rcsMode);
    case MANCTRL_ROTMODE:
      return kRotationInputs;
    case MANCTRL_LINMODE:
      return kLinearInputs;
    case MANCTRL_ANYMODE:
      return kRotationInputs | kLinearInputs;
  }
  return 0;
}

// The module hears of every change, and only of a change.
bool changeMode(sim::Vessel &v, int mode) {
  if (mode == v.attitudeMode) return false;
  v.attitudeMode = mode;
  if (VESSEL2 *v2 = sim::callbacksOf(v.iface)) {
    sim::CallingScope calling(*sim::World::current(), &v);
    v2->clbkRCSMode(mode);
  }
  return true;
}

}  // namespace

// One set of inputs for the whole simulation, which every vessel reads through
// its own RCS mode. They are the keyboard's: the host has no joystick.
double VESSEL::GetManualControlLevel(THGROUP_TYPE thgt, DWORD mode, DWORD device) const {
  sim::Vessel *v = self(this, "GetManualControlLevel");
  if (!v || device == MANCTRL_JOYSTICK) return 0;
  const int asked = inputsAsked(mode, v->attitudeMode);
  const bool rotation = thgt >= THGROUP_ATT_PITCHUP && thgt <= THGROUP_ATT_BANKRIGHT;
  const bool linear = thgt >= THGROUP_ATT_RIGHT && thgt <= THGROUP_ATT_BACK;
  if ((rotation && (asked & kRotationInputs)) || (linear && (asked & kLinearInputs)))
    return sim::World::current()->cockpit().input[thgt];
  return 0;
}

int VESSEL::GetAttitudeMode() const {
  sim::Vessel *v = self(this, "GetAttitudeMode");
  return v ? v->attitudeMode : RCS_NONE;
}

// The simulator's documentation promises false for a mode that is none of the
// three; its code would take any number. The host refuses it.
bool VESSEL::SetAttitudeMode(int mode) const {
  sim::Vessel *v = self(this, "SetAttitudeMode");
  if (!v) return false;
  if (mode < RCS_NONE || mode > RCS_LIN) {
    sim::api::refuse("VESSEL::SetAttitudeMode: " + v->name + " given " + std::to_string(mode) + ", no RCS mode");
    return false;
  }
  return changeMode(*v, mode);
}

// Rotation and linear trade places; an RCS that is off stays off.
int VESSEL::ToggleAttitudeMode() const {
  sim::Vessel *v = self(this, "ToggleAttitudeMode");
  if (!v) return RCS_NONE;
  changeMode(*v, otherMode(v->attitudeMode));
  return v->attitudeMode;
}
