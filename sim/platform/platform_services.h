// What the host asks of the operating system beyond the Windows names of
// host/platform.h; platform_posix.cpp and platform_win32.cpp answer.
#pragma once

#include <string>

#include "host/platform.h"

namespace sim {

// The running program's file; empty when unknown.
std::string programFile();

// The file a loaded module library came from, for the log; empty when unknown.
std::string moduleFile(HINSTANCE module);

// Lets the host see the HUD texts that a module library draws. On Windows,
// where TextOutA is the system's own, the library's calls to it pass through
// the host on their way to the system; elsewhere the host's TextOutA sees them.
void watchHudDrawing(HMODULE module);

}  // namespace sim
