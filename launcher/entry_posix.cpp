// Where there is no DllMain convention, the library's own initialisers run the
// load and unload entry with the handle the dynamic loader knows it by.
#ifndef _WIN32

#include <dlfcn.h>

#include "entry.h"

namespace {

HINSTANCE ownHandle = nullptr;

// The handle of the library that holds this function. The loader's own
// reference keeps the library loaded, so the look-up's reference is given back
// at once.
HINSTANCE findOwnHandle() {
  Dl_info info;
  if (!dladdr(reinterpret_cast<void *>(&findOwnHandle), &info) || !info.dli_fname) return nullptr;
  void *handle = dlopen(info.dli_fname, RTLD_NOLOAD | RTLD_LAZY);
  if (handle) dlclose(handle);
  return handle;
}

__attribute__((constructor)) void attachModule() {
  ownHandle = findOwnHandle();
  DllMain(ownHandle, DLL_PROCESS_ATTACH, nullptr);
}

__attribute__((destructor)) void detachModule() { DllMain(ownHandle, DLL_PROCESS_DETACH, nullptr); }

}  // namespace

#endif
