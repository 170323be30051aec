// The cockpit: what the person at the keyboard does and sees. Buffered keys go
// to a vessel with the modifier keys held; the focus says which vessel the
// keyboard flies; the HUD is drawn on a surface of the host's own, where
// TextOutA's texts are kept; the debug line is oapiDebugString's buffer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/OrbiterAPI.h"

namespace sim {

class HudCanvas;
struct Vessel;
class World;

// A text drawn on the HUD with TextOutA.
struct HudText {
  int x = 0, y = 0;  // [pixel]
  std::string text;
};

// What one drawing of a vessel's HUD put on it: the simulator's own elements,
// when the vessel's callback had them drawn (headless they are not drawn, only
// noted), and the texts.
struct HudFrame {
  bool ownElements = false;
  std::vector<HudText> texts;
};

class Cockpit {
 public:
  explicit Cockpit(World &w);
  ~Cockpit();
  Cockpit(const Cockpit &) = delete;
  Cockpit &operator=(const Cockpit &) = delete;

  // A buffered key event for a vessel, with the modifier keys held, recorded
  // as a key event; returns what the vessel's clbkConsumeBufferedKey answered.
  int pressKey(Vessel *v, DWORD key, bool down = true, const std::vector<DWORD> &held = {});
  // The key state a vessel sees: a held key's byte has its top bit set.
  const char *keyState() const { return keyState_; }

  // Gives the keyboard to another vessel (World::focusVessel), as the
  // simulator's focus switch does: the vessel that had it hears first that it
  // lost it, then v that it gained it (clbkFocusChanged); recorded as a focus
  // event. Nothing happens when v has it already.
  void setFocus(Vessel *v);

  // Draws the HUD of a vessel (mode 1) on a blank surface and returns what was drawn.
  HudFrame drawHud(Vessel *v);
  // What is on the HUD surface: drawn since the last drawHud began.
  const HudFrame &hud() const { return hud_; }
  // What TextOutA draws on: a device context of the host's HUD canvas.
  HDC hudSurface();
  // The host's side of drawing on the HUD surface.
  void textDrawn(int x, int y, const std::string &text) { hud_.texts.push_back({x, y, text}); }
  void ownElementsDrawn() { hud_.ownElements = true; }

  // The attitude inputs the person holds on keyboard or joystick, one level
  // [0..1] per THGROUP_TYPE: one set for the whole simulation, which every
  // vessel's GetManualControlLevel reads and which drives the focus vessel's
  // attitude thrusters.
  double input[15] = {};

  // oapiDebugString's line, which a module writes into.
  char *debugString() { return debugString_; }
  const char *debugString() const { return debugString_; }

 private:
  World &w_;
  std::shared_ptr<HudCanvas> canvas_;  // made when first drawn on
  HudFrame hud_;
  char keyState_[256] = {};
  char debugString_[256] = {};
};

}  // namespace sim
