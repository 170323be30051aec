// A program's operator new that may fail on request, as when memory runs out.
// Linked into a test program, it is everyone's: the host's and the modules'.
#pragma once

namespace failing_new {
// The next this many allocations fail with std::bad_alloc.
extern int allocationFailures;
}  // namespace failing_new
