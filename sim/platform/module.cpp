// Vessel modules: loaded by name, entry points looked up once.
#include "sim/platform/module.h"

#include "sim/platform/platform_services.h"

namespace sim {
namespace {

// GetProcAddress gives every entry point one generic type; going through
// void(*)() tells the compiler the change of type is meant.
template <typename F>
void lookUp(HMODULE lib, const char *name, F &entry) {
  entry = reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(lib, name)));
}

}  // namespace

std::unique_ptr<Module> Module::open(const std::string &name) {
  HMODULE lib = LoadLibraryA(("Modules\\" + name).c_str());
  if (!lib) return nullptr;
  watchHudDrawing(lib);
  return std::unique_ptr<Module>(new Module(name, lib));
}

Module::Module(const std::string &name, HMODULE lib) : name_(name), lib_(lib) {
  lookUp(lib, "ovcInit", ovcInit);
  lookUp(lib, "ovcExit", ovcExit);
  lookUp(lib, "ovcLoadStateEx", ovcLoadStateEx);
  lookUp(lib, "ovcSaveState", ovcSaveState);
  lookUp(lib, "GetModuleVersion", getModuleVersion);
}

Module::~Module() { FreeLibrary(lib_); }

}  // namespace sim
