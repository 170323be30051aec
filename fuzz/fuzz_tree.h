// A simulator tree of the fuzz target's own, made once per process in a
// temporary folder: a few small class files and a mesh, and no Modules folder
// unless a target links a module in, so that an input naming a module path
// cannot make the host load a library. The process works inside the tree
// (module paths resolve against the working directory) and removes it at exit,
// so corpus folders and artifact paths given to a target must be absolute.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "sim/world/log.h"

namespace fuzz {

struct TreeFile {
  const char *path;
  const char *text;
};

// Small on purpose: every input builds its vessels anew, and a large mesh
// would be read again each time.
const TreeFile kTreeFiles[] = {
    {"Config/Vessels/Probe.cfg", "Mass = 1000\nSize = 2\nInertia = 2 5 9\n"},
    {"Config/Vessels/Tanked.cfg",
     "Mass = 500 ; [kg]\nMaxFuel = 100\nIsp = 3000\nSize = 1.5\n"
     "TouchdownPoints = 0 -1 -1  -1 1 -1  1 1 -1\n"},
    {"Config/Vessels/Sub/Boxed.cfg",
     "MeshName = Box\nMass = 10\nCW = 0.5 0.6 1 1\nCrossSections = 1 1 0.5\nInertia = 1 1 1\n"},
    {"Meshes/Box.msh", "MSHX1\nGROUPS 1\nGEOM 4 2\n0 0 0\n1 0 0\n0 1 0\n0 0 1\n0 1 2\n0 2 3\n"},
};

class Tree {
 public:
  // Never destroyed: the clean-up at exit still needs its folder name.
  static Tree &get() {
    static Tree *tree = new Tree;
    return *tree;
  }
  const std::string &dir() const { return dir_; }
  std::string path(const std::string &rel) const { return dir_ + "/" + rel; }

  void write(const std::string &rel, const uint8_t *data, size_t size) const {
    std::ofstream out(path(rel), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
  }
  void write(const std::string &rel, const std::string &text) const {
    write(rel, reinterpret_cast<const uint8_t *>(text.data()), text.size());
  }
  // A file of the build placed in the tree, such as a module in Modules/.
  void link(const std::string &rel, const std::string &target) const {
    std::filesystem::create_directories(std::filesystem::path(path(rel)).parent_path());
    std::filesystem::create_symlink(target, path(rel));
  }

 private:
  std::string dir_;

  // tmpfs where there is one: every input is written to a file.
  Tree() {
    const std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/varnell-fuzz-XXXXXX";
    if (!mkdtemp(&pattern[0])) {
      std::perror("cannot make the fuzz tree");
      std::abort();
    }
    dir_ = pattern;
    for (const TreeFile &f : kTreeFiles) {
      std::filesystem::create_directories(std::filesystem::path(path(f.path)).parent_path());
      write(f.path, f.text);
    }
    std::filesystem::current_path(dir_);
    std::atexit([] { std::filesystem::remove_all(Tree::get().dir_); });
  }
};

// A broken invariant: the log tells what the host made of the input.
inline void require(bool holds, const char *what, const sim::Log &log) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  for (const std::string &line : log.lines()) std::fprintf(stderr, "  log: %s\n", line.c_str());
  std::abort();
}

}  // namespace fuzz
