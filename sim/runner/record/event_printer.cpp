#include "sim/runner/record/event_printer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sim {
namespace runner {
namespace {

// Full or off as the record shows the level, to three digits: 0.9996 is full.
bool fullOrOff(const Event &e) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", e.level);
  const double shown = std::atof(text);
  return shown == 0 || shown == 1;
}

}  // namespace

const double EventPrinter::kGroupLevelInterval = 1.0;

void EventPrinter::show(const Event &e) {
  if (e.kind == EventKind::liftoff && std::isnan(liftoff_)) liftoff_ = e.t;
  char t[32], met[32] = "";
  std::snprintf(t, sizeof t, "%10.2f s", e.t);
  if (!std::isnan(liftoff_)) std::snprintf(met, sizeof met, "T+%.2f", e.t - liftoff_);
  std::string vessel = e.vessel.empty() ? "-" : e.vessel;
  if (vessel.size() < 12) vessel.resize(12, ' ');
  std::string kind = eventKindName(e.kind);
  if (kind.size() < 15) kind.resize(15, ' ');
  out_ << t << "  " << std::string(std::max(0, 10 - static_cast<int>(std::strlen(met))), ' ') << met << "  " << vessel
       << "  " << kind << "  " << e.detail << '\n';
}

void EventPrinter::event(const Event &e) {
  if (e.kind != EventKind::groupLevel) {
    show(e);
    return;
  }
  GroupShown &g = groups_[e.vessel + '\n' + std::to_string(e.group)];
  const bool held = g.pending;
  if (held) ++thinned_;
  if (fullOrOff(e) || e.t - g.lastShown >= kGroupLevelInterval) {
    pending_ -= held;
    g.pending = false;
    g.lastShown = e.t;
    show(e);
    return;
  }
  pending_ += !held;
  g.pending = true;
  g.latest = e;
}

void EventPrinter::catchUp(double t) {
  if (pending_ == 0) return;
  for (auto &entry : groups_) {
    GroupShown &g = entry.second;
    if (!g.pending || t - g.lastShown < kGroupLevelInterval) continue;
    g.pending = false;
    --pending_;
    g.lastShown = t;
    show(g.latest);
  }
}

void EventPrinter::flush() { catchUp(1e300); }

}  // namespace runner
}  // namespace sim
