// Handles given to modules: world ids cast to pointers, never addresses, so a
// stale or foreign one is recognised and refused instead of dereferenced.
#pragma once

#include <cstdint>

#include "sim/world/vessel.h"

namespace sim {

inline void *handleOf(Id id) { return reinterpret_cast<void *>(static_cast<std::uintptr_t>(id)); }
inline Id idOf(const void *h) { return static_cast<Id>(reinterpret_cast<std::uintptr_t>(h)); }

}  // namespace sim
