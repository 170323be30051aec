// The surface a vessel's HUD is drawn on. On Windows it is a real memory
// device context over a 32-bit bitmap, so TextOutA leaves pixels there;
// elsewhere it is a handle that the host's own TextOutA recognises.
#pragma once

#include "host/platform.h"

namespace sim {

class HudCanvas {
 public:
  HudCanvas(int width, int height);  // [pixel]
  ~HudCanvas();
  HudCanvas(const HudCanvas &) = delete;
  HudCanvas &operator=(const HudCanvas &) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }    // [pixel]
  int height() const { return height_; }  // [pixel]
  // Blank, with the text colour and background mode a HUD draws with.
  void clear();

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  void *bitmap_ = nullptr;    // the bitmap the device context draws into
  void *replaced_ = nullptr;  // the bitmap it held before, given back at the end
};

}  // namespace sim
