#include "sim/platform/float_traps.h"

#ifdef __GLIBC__
#include <fenv.h>  // feenableexcept, a GNU extension
#endif

namespace sim {

bool trapFloatingPointFaults() {
#ifdef __GLIBC__
  return feenableexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW) != -1;
#else
  return false;
#endif
}

}  // namespace sim
