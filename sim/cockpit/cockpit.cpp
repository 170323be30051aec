#include "sim/cockpit/cockpit.h"

#include "sim/cockpit/hud_canvas.h"
#include "sim/cockpit/key_names.h"
#include "sim/world/world.h"

namespace sim {
namespace {

const HUDPAINTSPEC kHud = {1280, 720, 640, 360, 12.0, 12};  // a 1280x720 HUD, 12 pixels per degree

void tellFocus(World &w, Vessel *told, bool getfocus, Vessel *gained, Vessel *lost) {
  VESSEL2 *v2 = told && w.fromHandle(told) ? callbacksOf(told->iface) : nullptr;
  if (!v2) return;
  CallingScope calling(w, told);
  v2->clbkFocusChanged(getfocus, gained, lost);
}

}  // namespace

Cockpit::Cockpit(World &w) : w_(w) {}
Cockpit::~Cockpit() = default;

// The held keys are down in the key state only while the vessel looks at it.
int Cockpit::pressKey(Vessel *v, DWORD key, bool down, const std::vector<DWORD> &held) {
  auto *v2 = w_.fromHandle(v) ? callbacksOf(v->iface) : nullptr;
  if (!v2) {
    w_.log().refused("a key for a vessel that is not in the world");
    return 0;
  }
  for (DWORD k : held) keyState_[k & 0xFF] = static_cast<char>(0x80);
  w_.record().record(v->name, EventKind::key, keyName(key, held) + (down ? " down" : " up"));
  int consumed;
  {
    CallingScope calling(w_, v);
    consumed = v2->clbkConsumeBufferedKey(key, down, keyState_);
  }
  for (DWORD k : held) keyState_[k & 0xFF] = 0;
  return consumed;
}

void Cockpit::setFocus(Vessel *v) {
  if (!w_.fromHandle(v)) {
    w_.log().refused("the focus for a vessel that is not in the world");
    return;
  }
  Vessel *old = w_.find(w_.focusVessel);
  if (old == v) return;
  w_.focusVessel = v->name;
  w_.record().record(v->name, EventKind::focus, old ? "from " + old->name : "");
  tellFocus(w_, old, false, v, old);
  tellFocus(w_, v, true, v, old);
}

HDC Cockpit::hudSurface() {
  if (!canvas_) canvas_ = std::make_shared<HudCanvas>(kHud.W, kHud.H);
  return canvas_->dc();
}

HudFrame Cockpit::drawHud(Vessel *v) {
  hud_ = HudFrame();
  if (canvas_) canvas_->clear();
  auto *v2 = w_.fromHandle(v) ? callbacksOf(v->iface) : nullptr;
  if (!v2) {
    w_.log().refused("drawing the HUD of a vessel that is not in the world");
    return {};
  }
  CallingScope calling(w_, v);
  v2->clbkDrawHUD(1, &kHud, hudSurface());
  return hud_;
}

}  // namespace sim
