// The library's load and unload entry. Windows calls it itself; elsewhere the
// library's initialisers call it (entry_posix.cpp).
#pragma once

#include "platform.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hModule, DWORD reason, LPVOID reserved);
