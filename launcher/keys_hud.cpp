// The pilot's two keys and the launcher's HUD line.
//
// B starts the count and J commands a separation; both only raise a flag in
// the launcher record, which the next simulation step acts on.
#include <cstdio>
#include <cstring>

#include "guarded.h"
#include "varnell.h"

namespace {

const DWORD MODIFIER_KEYS[] = {OAPI_KEY_LCONTROL, OAPI_KEY_RCONTROL, OAPI_KEY_LSHIFT, OAPI_KEY_RSHIFT};

bool modifierHeld(const char *kstate) {
  for (DWORD key : MODIFIER_KEYS)
    if (KEYDOWN(kstate, key)) return true;
  return false;
}

const int HUD_X = 100, HUD_Y = 100;  // position of the HUD line [pixel]

}  // namespace

int VARNELL::clbkConsumeBufferedKey(DWORD key, bool down, char *kstate) {
  return Guarded("clbkConsumeBufferedKey", 0, [&] {
    if (!down || modifierHeld(kstate)) return 0;
    if (key == OAPI_KEY_J) {
      separationCommand = true;
      return 1;
    }
    if (key == OAPI_KEY_B) {
      launchCommand = true;
      return 1;
    }
    return 0;
  });
}

void VARNELL::clbkDrawHUD(int mode, const HUDPAINTSPEC *hps, HDC hDC) {
  Guarded("clbkDrawHUD", [&] {
    VESSEL2::clbkDrawHUD(mode, hps, hDC);
    char text[64];
    std::snprintf(text, sizeof text, "Durvane RCS fuel: %.3f kg", GetPropellantMass(phRcs));
    TextOutA(hDC, HUD_X, HUD_Y, text, static_cast<int>(std::strlen(text)));
  });
}
