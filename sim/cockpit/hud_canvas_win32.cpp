// The HUD as a memory device context over a top-down 32-bit DIB section.
#include <cstdlib>

#include "sim/cockpit/hud_canvas.h"
#include "sim/platform/platform_services.h"

namespace sim {

namespace {

const COLORREF kHudColour = RGB(0, 255, 0);  // the simulator's HUD green

HBITMAP makeBitmap(HDC dc, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void *pixels = nullptr;
  return CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
}

}  // namespace

HudCanvas::HudCanvas(int width, int height) : width_(width), height_(height) {
  dc_ = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = dc_ ? makeBitmap(dc_, width, height) : nullptr;
  if (!bitmap) std::abort();  // no HUD to draw on: nothing the host could go on with
  bitmap_ = bitmap;
  replaced_ = SelectObject(dc_, bitmap);
  // Texts drawn by the program itself (tests that link a module's classes)
  // are recorded like those of loaded modules.
  watchHudDrawing(GetModuleHandleA(nullptr));
  clear();
}

HudCanvas::~HudCanvas() {
  SelectObject(dc_, static_cast<HGDIOBJ>(replaced_));
  DeleteObject(static_cast<HGDIOBJ>(bitmap_));
  DeleteDC(dc_);
}

void HudCanvas::clear() {
  PatBlt(dc_, 0, 0, width_, height_, BLACKNESS);
  SetTextColor(dc_, kHudColour);
  SetBkMode(dc_, TRANSPARENT);
  GdiFlush();
}

}  // namespace sim
