// A simulator folder tree of a test's own, in a temporary folder: class files,
// meshes and scenarios that the test writes, and the fixture module on request.
// Entering it makes it the working directory (as the simulator runs inside its
// tree) until the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/scratch_dir.h"

class TempRoot {
 public:
  TempRoot() : dir_(makeScratchDir("varnell-sim-")) {}
  ~TempRoot() {
    if (!outer_.empty()) std::filesystem::current_path(outer_);
    std::filesystem::remove_all(dir_);
  }
  const std::string &dir() const { return dir_; }
  std::string path(const std::string &rel) const { return dir_ + "/" + rel; }

  void write(const std::string &rel, const std::string &text) const {
    std::filesystem::create_directories(std::filesystem::path(path(rel)).parent_path());
    std::ofstream(path(rel)) << text;
  }
  std::string read(const std::string &rel) const {
    std::ostringstream s;
    s << std::ifstream(path(rel)).rdbuf();
    return s.str();
  }

  void enter() {
    outer_ = std::filesystem::current_path().string();
    std::filesystem::current_path(dir_);
  }
  // Modules/Fixture.so (.dll): the test vessel module; enters the tree so it loads.
  void withFixtureModule() {
    std::filesystem::create_directories(path("Modules"));
    const std::filesystem::path built(SIM_FIXTURE_MODULE);
    std::filesystem::copy_file(built, path("Modules") / built.filename());
    enter();
  }

 private:
  std::string dir_;
  std::string outer_;
};
