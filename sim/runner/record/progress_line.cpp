#include "sim/runner/record/progress_line.h"

#include <cstdio>

namespace sim {
namespace runner {
namespace {

const double kQuietStart = 1.0;      // wall time before the line first shows [s]
const double kRedrawInterval = 0.2;  // [s]

double seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

ProgressLine::ProgressLine(std::ostream &out, bool enabled)
    : out_(out), enabled_(enabled), start_(Clock::now()), lastDrawn_(start_) {}

double ProgressLine::wallSeconds() const { return seconds(Clock::now() - start_); }

void ProgressLine::update(double t, double until, size_t vessels) {
  if (!enabled_) return;
  const Clock::time_point now = Clock::now();
  const double wall = seconds(now - start_);
  if (wall < kQuietStart || seconds(now - lastDrawn_) < kRedrawInterval) return;
  lastDrawn_ = now;
  char text[128];
  std::snprintf(text, sizeof text, "  t = %.1f s of %.0f s, %zu vessel(s), %.1fx real time", t, until, vessels,
                t / wall);
  std::string line = text;
  const size_t width = line.size();
  if (line.size() < width_) line.resize(width_, ' ');
  width_ = width;
  out_ << '\r' << line << std::flush;
}

void ProgressLine::clear() {
  if (!enabled_ || width_ == 0) return;
  out_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
  width_ = 0;
}

}  // namespace runner
}  // namespace sim
