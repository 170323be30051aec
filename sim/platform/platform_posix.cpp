// The Windows names of host/platform.h on top of dlopen, and TextOutA drawing
// on the current world's HUD surface.
#include "sim/platform/platform_posix.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "host/platform.h"
#include "sim/platform/platform_services.h"
#include "sim/world/world.h"

namespace sim {

std::string programFile() {
  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path);
  return n > 0 && static_cast<size_t>(n) < sizeof path ? std::string(path, static_cast<size_t>(n)) : "";
}

std::string moduleFile(HINSTANCE module) {
  link_map *map = nullptr;
  const bool named = module && dlinfo(module, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name;
  return named ? map->l_name : "";
}

// The host's own TextOutA below sees every text already.
void watchHudDrawing(HMODULE) {}

std::string libraryPath(const std::string &name) {
  std::string path = name;
  std::replace(path.begin(), path.end(), '\\', '/');
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) path += ".so";
  if (slash == std::string::npos) path = "./" + path;
  return path;
}

}  // namespace sim

extern "C" {

HMODULE LoadLibraryA(const char *name) {
  if (!name) return nullptr;
  const std::string path = sim::libraryPath(name);
  void *lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!lib && sim::World::current()) sim::World::current()->log().info("LoadLibraryA: " + std::string(dlerror()));
  return lib;
}

FARPROC GetProcAddress(HMODULE module, const char *name) {
  if (!module || !name) return nullptr;
  return reinterpret_cast<FARPROC>(dlsym(module, name));
}

BOOL FreeLibrary(HMODULE module) { return module && dlclose(module) == 0 ? TRUE : FALSE; }

BOOL TextOutA(HDC hdc, int x, int y, const char *text, int length) {
  sim::World *w = sim::World::current();
  if (!w || !text) return FALSE;
  if (hdc != w->cockpit().hudSurface()) {
    w->log().refused("TextOutA on a device context that is not the HUD surface");
    return FALSE;
  }
  const size_t n = length < 0 ? std::strlen(text) : strnlen(text, static_cast<size_t>(length));
  w->cockpit().textDrawn(x, y, std::string(text, n));
  return TRUE;
}
}
