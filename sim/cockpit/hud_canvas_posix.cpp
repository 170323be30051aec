// Headless, the HUD has no pixels: the canvas is only a handle to compare.
#include "sim/cockpit/hud_canvas.h"

namespace sim {

HudCanvas::HudCanvas(int width, int height) : width_(width), height_(height), dc_(reinterpret_cast<HDC>(this)) {}

HudCanvas::~HudCanvas() = default;

void HudCanvas::clear() {}

}  // namespace sim
