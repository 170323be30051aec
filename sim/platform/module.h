// A vessel module loaded from Modules/, with the entry points it exports.
#pragma once

#include <memory>
#include <string>

#include "host/VesselAPI.h"

namespace sim {

class Module {
 public:
  // Loads "Modules\<name>" as the simulator does; null when it will not load.
  static std::unique_ptr<Module> open(const std::string &name);
  ~Module();
  Module(const Module &) = delete;
  Module &operator=(const Module &) = delete;

  const std::string &name() const { return name_; }

  // Entry points; null where the module does not export them.
  VESSEL *(*ovcInit)(OBJHANDLE, int) = nullptr;
  void (*ovcExit)(VESSEL *) = nullptr;
  void (*ovcLoadStateEx)(VESSEL *, FILEHANDLE, void *) = nullptr;
  void (*ovcSaveState)(VESSEL *, FILEHANDLE) = nullptr;
  int (*getModuleVersion)() = nullptr;

 private:
  Module(const std::string &name, HMODULE lib);
  std::string name_;
  HMODULE lib_;
};

}  // namespace sim
