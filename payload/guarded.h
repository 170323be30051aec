// The module's side of its boundary with the simulator. The simulator does not
// pass C++ exceptions through its own frames, so every exported entry point
// and every VESSEL2 callback a module overrides runs its work through Guarded:
// an exception that reaches it goes no further, is written to the simulator's
// log, and the call answers as one that did nothing.
//
// What the work changed before it was stopped stays changed: the module's own
// work does not fail halfway, as a carrier takes the memory its rebuilds need
// when it is made (common_vessel_ex.cpp); what can still throw is the host.
#pragma once

#include <exception>

// Writes "<where> stopped by an exception: <what>" to the simulator's log.
void LogEscapedException(const char *where, const char *what) noexcept;

template <typename Result, typename Work>
Result Guarded(const char *where, Result failed, Work &&work) noexcept {
  try {
    return work();
  } catch (const std::exception &e) {
    LogEscapedException(where, e.what());
  } catch (...) {
    LogEscapedException(where, "one of no standard type");
  }
  return failed;
}

template <typename Work>
void Guarded(const char *where, Work &&work) noexcept {
  Guarded(where, true, [&] {
    work();
    return true;
  });
}
