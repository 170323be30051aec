#include "sim/world/flight_record.h"

#include <cstdio>

namespace sim {
namespace {

// In the order of EventKind.
const char *const kKindNames[] = {
    "key",    "liftoff", "vessel-created", "vessel-deleted", "tank-deleted", "tank-dry", "group-level",
    "landed", "crashed", "touchdown",      "diverged",       "pilot",        "focus",    "end"};
static_assert(sizeof kKindNames / sizeof *kKindNames == static_cast<int>(EventKind::end) + 1, "a name for every kind");

const char *const kGroupNames[] = {"MAIN",        "RETRO",        "HOVER",        "ATT_PITCHUP",   "ATT_PITCHDOWN",
                                   "ATT_YAWLEFT", "ATT_YAWRIGHT", "ATT_BANKLEFT", "ATT_BANKRIGHT", "ATT_RIGHT",
                                   "ATT_LEFT",    "ATT_UP",       "ATT_DOWN",     "ATT_FORWARD",   "ATT_BACK"};

// A level as people read it: 0.64, not 0.639999999999975 [0..1].
std::string levelText(double level) {
  char text[16];
  std::snprintf(text, sizeof text, "%.3g", level);
  return text;
}

}  // namespace

const char *eventKindName(EventKind kind) { return kKindNames[static_cast<int>(kind)]; }

bool eventKindByName(const std::string &name, EventKind &kind) {
  for (int k = 0; k <= static_cast<int>(EventKind::end); ++k)
    if (name == kKindNames[k]) {
      kind = static_cast<EventKind>(k);
      return true;
    }
  return false;
}

std::string groupName(THGROUP_TYPE group) {
  return group >= 0 && group <= THGROUP_ATT_BACK ? kGroupNames[group] : "USER " + std::to_string(group);
}

void FlightRecord::record(const std::string &vessel, EventKind kind, const std::string &detail) {
  events_.push_back({before_ + clock_, vessel, kind, detail});
}

void FlightRecord::recordGroupLevel(const std::string &vessel, THGROUP_TYPE group, double level) {
  events_.push_back(
      {before_ + clock_, vessel, EventKind::groupLevel, groupName(group) + " " + levelText(level), group, level});
}

}  // namespace sim
