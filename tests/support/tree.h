// A simulator tree of a test's own in a temporary folder: the files the test writes, and
// copies of what the built tree holds. The working folder is put back and the
// tree removed when the test ends, whoever entered it.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "host/platform.h"
#include "sim/world/world.h"
#include "tests/scratch_dir.h"

// A probe class without a module, with a one-triangle mesh.
const char kProbeClass[] = "MeshName = Probe\nMass = 1000\nSize = 2\nInertia = 2 2 2\nMaxFuel = 500\nIsp = 3000\n";
// Bare: no tank, no drag, and unequal moments of inertia, so that it tumbles;
// it stands on the plane y = -1.
const char kBareProbe[] =
    "Mass = 1000\nSize = 2\nInertia = 2 5 9\nCW = 0 0 0 0\nTouchdownPoints = 0 -1 1  -1 -1 -1  1 -1 -1\n";
const char kTriangleMesh[] = "MSHX1\nGROUPS 1\nGEOM 3 1\n0 0 0\n1 0 0\n0 1 0\n0 1 2\n";

class ScratchTree {
 public:
  ScratchTree() : outer_(std::filesystem::current_path().string()), dir_(makeScratchDir("varnell-test-")) {}
  ~ScratchTree() {
    std::filesystem::current_path(outer_);
    std::filesystem::remove_all(dir_);
  }
  ScratchTree(const ScratchTree &) = delete;
  ScratchTree &operator=(const ScratchTree &) = delete;

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
  // A copy of a built library is a file of its own, so it loads afresh.
  void copyFromBuiltTree(const std::string &rel) const {
    std::filesystem::create_directories(std::filesystem::path(path(rel)).parent_path());
    std::filesystem::copy_file(outer_ + "/" + rel, path(rel));
  }
  void enter() const { std::filesystem::current_path(dir_); }
#ifdef SIM_FIXTURE_MODULE
  // Modules/Fixture: the host's own test module; entered, so that it loads.
  void withFixtureModule() const {
    const std::filesystem::path built(SIM_FIXTURE_MODULE);
    std::filesystem::create_directories(path("Modules"));
    std::filesystem::copy_file(built, path("Modules") / built.filename());
    enter();
  }
#endif
  const ScratchTree &withProbe(const std::string &cls = kProbeClass) const {
    write("Config/Vessels/Probe.cfg", cls);
    write("Meshes/Probe.msh", kTriangleMesh);
    return *this;
  }
  std::unique_ptr<sim::World> world() const { return std::make_unique<sim::World>(dir_, ""); }

 private:
  std::string outer_, dir_;
};

// GetProcAddress's result as the type the function really has.
template <typename F>
F lookUp(HMODULE module, const char *name) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// A module library's file, as LoadLibraryA("Modules\\<name>") finds it.
inline std::string moduleLibrary(const std::string &name) {
#ifdef _WIN32
  return "Modules/" + name + ".dll";
#else
  return "Modules/" + name + ".so";
#endif
}

// A world over a tree of its own with a probe class; gone before the tree is.
struct ScratchWorld : ScratchTree {
  explicit ScratchWorld(const std::string &probe = kProbeClass) : w((withProbe(probe), world())) {}
  sim::World &operator*() { return *w; }
  sim::World *operator->() { return w.get(); }
  std::unique_ptr<sim::World> w;
};

// A vessel of class cls in free flight; its tanks as its class fills them.
inline sim::Vessel *flying(sim::World &w, const std::string &name, const VECTOR3 &pos, const VECTOR3 &vel,
                           const VECTOR3 &vrot = {}, const std::string &cls = "Probe") {
  VESSELSTATUS s{};
  s.rpos = pos;
  s.rvel = vel;
  s.vrot = vrot;
  return w.createVessel(name, cls, &s);
}

inline void run(sim::World &w, int steps) {
  for (int i = 0; i < steps; ++i) w.step();
}

// Far out in space: no air, and gravity too weak to matter over a test (4e-4 m/s^2).
const VECTOR3 kDeepSpace = _V(1e9, 0, 0);
