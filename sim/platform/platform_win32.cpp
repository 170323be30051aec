// On Windows the Windows names of host/platform.h are the system's own. What
// the host adds: module file names for the log, and seeing the HUD texts that
// modules draw with the system's TextOutA.
#include <string>

#include "sim/platform/platform_services.h"
#include "sim/world/world.h"

namespace sim {
namespace {

typedef BOOL(WINAPI *TextOutFunc)(HDC, int, int, LPCSTR, int);

// The system's TextOutA, as the loader binds it into every importing library.
TextOutFunc systemTextOut() {
  static const TextOutFunc found = reinterpret_cast<TextOutFunc>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("gdi32.dll"), "TextOutA")));
  return found;
}

// Draws on the current world's HUD as the system does, and records the text,
// as the host's own TextOutA does elsewhere. Any other device context is
// refused without being handed to the system: headless, the HUD is the only
// one the host gives out, so another is a module's mistake (and a made-up
// handle can name a device context of another program).
BOOL WINAPI recordedTextOut(HDC hdc, int x, int y, LPCSTR text, int length) {
  World *w = World::current();
  if (!w) return systemTextOut()(hdc, x, y, text, length);
  if (hdc != w->cockpit().hudSurface()) {
    w->log().refused("TextOutA on a device context that is not the HUD surface");
    return FALSE;
  }
  const BOOL drawn = systemTextOut()(hdc, x, y, text, length);
  if (drawn) {
    GdiFlush();  // the pixels are there once the call returns, as the text is
    w->cockpit().textDrawn(x, y, std::string(text, static_cast<size_t>(length)));
  }
  return drawn;
}

// The file a loaded library came from; the program's own for null.
std::string fileOf(HMODULE module) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(module, path, sizeof path);
  return n > 0 && n < sizeof path ? std::string(path, n) : std::string();
}

template <typename T>
T *at(HMODULE module, DWORD offset) {
  return reinterpret_cast<T *>(reinterpret_cast<BYTE *>(module) + offset);
}

// Turns one import slot of a loaded library to another function.
void rebind(ULONG_PTR *slot, ULONG_PTR function) {
  DWORD access = 0;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &access)) return;
  *slot = function;
  VirtualProtect(slot, sizeof *slot, access, &access);
}

}  // namespace

std::string programFile() { return fileOf(nullptr); }

std::string moduleFile(HINSTANCE module) { return module ? fileOf(static_cast<HMODULE>(module)) : ""; }

// Every slot of the library's import table that the loader bound to the
// system's TextOutA is turned to the recorder; a slot already turned is left.
void watchHudDrawing(HMODULE module) {
  const TextOutFunc system = systemTextOut();
  if (!module || !system) return;
  const auto *nt = at<IMAGE_NT_HEADERS>(module, at<IMAGE_DOS_HEADER>(module, 0)->e_lfanew);
  const IMAGE_DATA_DIRECTORY &imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return;
  for (auto *lib = at<IMAGE_IMPORT_DESCRIPTOR>(module, imports.VirtualAddress); lib->Name != 0; ++lib)
    for (auto *slot = at<ULONG_PTR>(module, lib->FirstThunk); *slot != 0; ++slot)
      if (*slot == reinterpret_cast<ULONG_PTR>(system)) rebind(slot, reinterpret_cast<ULONG_PTR>(&recordedTextOut));
}

}  // namespace sim
