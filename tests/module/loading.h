// How the module's tests reach libraries: functions looked up by name, as the
// host does, and simulator trees of their own.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/platform.h"
#include "tests/scratch_dir.h"

// GetProcAddress's result as the type the function really has.
template <typename F>
F lookUp(HMODULE module, const char *name) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// A module library's file in a simulator tree, as LoadLibraryA("Modules\\<name>") finds it.
inline std::string moduleLibrary(const std::string &name) {
#ifdef _WIN32
  return "Modules/" + name + ".dll";
#else
  return "Modules/" + name + ".so";
#endif
}

// A simulator tree in a temporary folder, for what the built tree cannot show:
// a module library loaded afresh, or a tree without the message module.
// Entering it makes it the working directory, as the simulator runs inside its
// tree, until the test ends.
class ScratchRoot {
 public:
  ScratchRoot() {
    dir_ = makeScratchDir("varnell-module-");
    built_ = std::filesystem::current_path().string();
    std::filesystem::create_directories(dir_ + "/Modules");
  }
  ~ScratchRoot() {
    if (!outer_.empty()) std::filesystem::current_path(outer_);
    std::filesystem::remove_all(dir_);
  }
  ScratchRoot(const ScratchRoot &) = delete;
  ScratchRoot &operator=(const ScratchRoot &) = delete;

  std::string path(const std::string &rel) const { return dir_ + "/" + rel; }
  void write(const std::string &rel, const std::string &text) const {
    std::filesystem::create_directories(std::filesystem::path(path(rel)).parent_path());
    std::ofstream(path(rel)) << text;
  }
  // A copy of a built library is a file of its own, so it loads as a library
  // of its own, with fresh module-wide state.
  void copyFromBuiltTree(const std::string &rel) const {
    std::filesystem::create_directories(std::filesystem::path(path(rel)).parent_path());
    std::filesystem::copy_file(built_ + "/" + rel, path(rel));
  }
  void enter() {
    outer_ = std::filesystem::current_path().string();
    std::filesystem::current_path(dir_);
  }

 private:
  std::string dir_;
  std::string built_;  // the built tree the tests run in
  std::string outer_;
};
