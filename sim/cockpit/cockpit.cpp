// What the person at the keyboard does: buffered keys, and looking at the HUD.
#include <cstdio>

#include "sim/cockpit/hud_canvas.h"
#include "sim/cockpit/key_names.h"
#include "sim/world/world.h"

namespace sim {
namespace {

const HUDPAINTSPEC kHud = {1280, 720, 640, 360, 12.0, 12};  // a 1280x720 HUD, 12 pixels per degree

}  // namespace

// The held keys are down in the key state only while the vessel looks at it.
int World::pressKey(Vessel *v, DWORD key, bool down, const std::vector<DWORD> &held) {
  auto *v2 = fromHandle(v) ? callbacksOf(v->iface) : nullptr;
  if (!v2) {
    log_->refused("a key for a vessel that is not in the world");
    return 0;
  }
  for (DWORD k : held) keyState[k & 0xFF] = static_cast<char>(0x80);
  recordEvent(v->name, "key", keyName(key, held) + (down ? " down" : " up"));
  int consumed;
  {
    CallingScope calling(*this, v);
    consumed = v2->clbkConsumeBufferedKey(key, down, keyState);
  }
  for (DWORD k : held) keyState[k & 0xFF] = 0;
  return consumed;
}

HDC World::hudSurface() {
  if (!hud_) hud_ = std::make_shared<HudCanvas>(kHud.W, kHud.H);
  return hud_->dc();
}

std::vector<HudText> World::drawHud(Vessel *v) {
  hudTexts.clear();
  if (hud_) hud_->clear();
  auto *v2 = fromHandle(v) ? callbacksOf(v->iface) : nullptr;
  if (!v2) {
    log_->refused("drawing the HUD of a vessel that is not in the world");
    return {};
  }
  CallingScope calling(*this, v);
  v2->clbkDrawHUD(1, &kHud, hudSurface());
  return hudTexts;
}

}  // namespace sim
