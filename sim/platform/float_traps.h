// Floating-point faults, the operations that make a NaN or an infinity: an
// invalid operation, a division by zero, an overflow. A program may have them
// trap, so that it stops where one is made (the test suite does, and varnell
// does when asked); only glibc offers that, and elsewhere nothing traps.
#pragma once

#include <cfenv>

namespace sim {

// Traps the three faults from here on, in this thread and the threads it
// starts; false where the C library cannot.
bool trapFloatingPointFaults();

// The faults held for a scope, for work that may overflow on input it then
// refuses: no trap is raised inside, and the flags raised are dropped at the
// scope's end.
class HeldFloatingPointFaults {
 public:
  HeldFloatingPointFaults() { std::feholdexcept(&outside_); }
  ~HeldFloatingPointFaults() { std::fesetenv(&outside_); }
  HeldFloatingPointFaults(const HeldFloatingPointFaults &) = delete;
  HeldFloatingPointFaults &operator=(const HeldFloatingPointFaults &) = delete;

 private:
  std::fenv_t outside_;
};

}  // namespace sim
