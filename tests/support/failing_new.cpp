#include "tests/support/failing_new.h"

#include <cstdlib>
#include <new>

namespace failing_new {
int allocationFailures = 0;
}  // namespace failing_new

#ifndef _WIN32  // a Windows module's operator new is its own, out of the program's reach
void *operator new(std::size_t size) {
  void *p = failing_new::allocationFailures > 0 && failing_new::allocationFailures-- ? nullptr : std::malloc(size + 1);
  return p ? p : throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
#endif
