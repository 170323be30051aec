// The log line of an exception stopped at the module's boundary.
#include "guarded.h"

#include <cstdio>

#include "Orbitersdk.h"

// Nothing here allocates; the host's own logging may, and may throw, which is
// dropped too: the line is lost but the simulator runs on.
void LogEscapedException(const char *where, const char *what) noexcept {
  char line[512];
  std::snprintf(line, sizeof line, "%s stopped by an exception: %s", where, what ? what : "");
  try {
    oapiWriteLog(line);
  } catch (...) {
  }
}
