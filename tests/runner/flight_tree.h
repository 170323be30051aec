// A simulator tree of a test's own in a temporary folder: a probe class with
// no module and its mesh, and whatever scenarios and pilot programs the test
// writes. The flight runner enters the tree it flies in, so the working
// folder is put back when the tree goes.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "sim/world.h"
#include "tests/scratch_dir.h"

namespace runner_test {

const char kProbeClass[] = "MeshName = Probe\nMass = 1000\nSize = 2\nInertia = 2 2 2\nMaxFuel = 500\nIsp = 3000\n";
const char kTriangleMesh[] = "MSHX1\nGROUPS 1\nGEOM 3 1\n0 0 0\n1 0 0\n0 1 0\n0 1 2\n";

class FlightTree {
 public:
  FlightTree() : outer_(std::filesystem::current_path()), dir_(makeScratchDir("varnell-runner-")) {
    write("Config/Vessels/Probe.cfg", kProbeClass);
    write("Meshes/Probe.msh", kTriangleMesh);
  }
  ~FlightTree() {
    std::filesystem::current_path(outer_);
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
  std::unique_ptr<sim::World> world() const { return std::make_unique<sim::World>(dir_, ""); }

 private:
  std::filesystem::path outer_;
  std::string dir_;
};

}  // namespace runner_test
