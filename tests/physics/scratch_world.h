// A world over a simulator tree of the test's own: a temporary folder holding
// the class files the test writes, removed with the world.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "sim/world.h"
#include "tests/scratch_dir.h"

namespace physics_test {

// A small probe: a class without a module, so no library is needed.
const char *const kProbeClass = "Mass = 1000\nSize = 2\nInertia = 2 5 9\n";

class ScratchWorld {
 public:
  ScratchWorld() {
    dir_ = makeScratchDir("varnell-physics-");
    std::filesystem::create_directories(dir_ + "/Config/Vessels");
    writeClass("Probe", kProbeClass);
    world_ = std::make_unique<sim::World>(dir_, "");
  }
  ~ScratchWorld() {
    world_.reset();
    std::filesystem::remove_all(dir_);
  }
  void writeClass(const std::string &name, const std::string &text) {
    std::ofstream(dir_ + "/Config/Vessels/" + name + ".cfg") << text;
  }
  sim::World &world() { return *world_; }
  sim::World *operator->() { return world_.get(); }

  sim::Vessel *flying(const std::string &name, const VECTOR3 &pos, const VECTOR3 &vel, const VECTOR3 &vrot = {},
                      const std::string &cls = "Probe") {
    VESSELSTATUS s{};
    s.rpos = pos;
    s.rvel = vel;
    s.vrot = vrot;
    return world_->createVessel(name, cls, &s);
  }
  sim::Vessel *landed(const std::string &name, double lng, double lat, double heading,
                      const std::string &cls = "Probe") {
    VESSELSTATUS s{};
    s.status = 1;
    s.vdata[0] = _V(lng, lat, heading);
    return world_->createVessel(name, cls, &s);
  }
  void run(int steps) {
    for (int i = 0; i < steps; ++i) world_->step();
  }

 private:
  std::string dir_;
  std::unique_ptr<sim::World> world_;
};

// Far out in space: no air, and gravity too weak to matter over a test (4e-4 m/s^2).
const VECTOR3 kDeepSpace = _V(1e9, 0, 0);

}  // namespace physics_test
