// Load and unload of the module library: the host learns the module's
// instance handle, and an exit function of the module's own, if it has one,
// runs at unload.
#include "entry.h"

#include "OrbiterAPI.h"
#include "guarded.h"

// The simulator exports this without declaring it in its headers; like the
// simulator's own support code, the module declares what it calls.
OAPIFUNC void InitLib(HINSTANCE hModule);

namespace {

typedef void (*ExitModuleFunc)(HINSTANCE hModule);

ExitModuleFunc exitModule = nullptr;  // shared by every launcher of this library

// The simulator's two names for a module's exit function; this module has
// neither, so nothing is found unless one is added.
ExitModuleFunc findExitFunction(HINSTANCE hModule) {
  const char *const names[] = {"ExitModule", "opcDLLExit"};
  for (const char *name : names) {
    FARPROC found = GetProcAddress(static_cast<HMODULE>(hModule), name);
    if (found) return reinterpret_cast<ExitModuleFunc>(reinterpret_cast<void (*)()>(found));
  }
  return nullptr;
}

}  // namespace

// A load that fails is refused, as Windows takes FALSE at process attach.
extern "C" BOOL WINAPI DllMain(HINSTANCE hModule, DWORD reason, LPVOID reserved) {
  return Guarded("DllMain", static_cast<BOOL>(FALSE), [&]() -> BOOL {
    switch (reason) {
      case DLL_PROCESS_ATTACH:
        InitLib(hModule);
        exitModule = findExitFunction(hModule);
        break;
      case DLL_PROCESS_DETACH:
        if (exitModule) exitModule(hModule);
        break;
    }
    return TRUE;
  });
}
