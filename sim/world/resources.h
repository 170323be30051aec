// What modules load by name: vessel modules, meshes and textures, and the class
// files vessels are made from. Mesh handles are the Mesh records' addresses,
// checked against the part's own before use; textures are only named, never read.
//
// A file is read and parsed once per world, keyed by its path: the simulator
// reads a class file and a mesh again for each vessel, but what it finds is
// the same each time. Another world reads them afresh.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "host/OrbiterAPI.h"

namespace sim {

class ClassFile;
class Log;
class Module;
struct Mesh;
class World;

class Resources {
 public:
  explicit Resources(World &w);
  ~Resources();
  Resources(const Resources &) = delete;
  Resources &operator=(const Resources &) = delete;

  // A vessel module by name (as in a class file's Module key), loaded once and
  // held until the world ends; null, and logged, when it cannot be loaded.
  Module *loadModule(const std::string &name);
  // Unloads every module: once their vessels are gone.
  void unloadModules();

  // A class file by its path, kept for the world's life; null, and logged,
  // when it cannot be opened. Its skipped lines are logged at every call.
  const ClassFile *classFile(const std::string &path);

  // Meshes by name (the name as a module gives it, '\' or '/'), from
  // Meshes/<name>.msh; null for a missing or unreadable file (logged). A
  // global mesh is loaded once and shared; loadMesh reads a copy of its own.
  MESHHANDLE loadMeshGlobal(const std::string &name);
  MESHHANDLE loadMesh(const std::string &name);
  const Mesh *mesh(MESHHANDLE h) const;  // null for a handle that names no mesh of this world

  // Meshes a module asked for while it read a scenario line: the one sign the
  // host has of a line a module took in as something to show (a manifest entry).
  struct LineMesh {
    std::string file;
    int line;
    std::string text;  // the line as read
    std::string mesh;  // the name asked for
  };
  const std::vector<LineMesh> &meshesAskedWhileReading() const { return meshesAskedWhileReading_; }

  SURFHANDLE registerTexture(const std::string &name, bool particle);
  std::string textureName(SURFHANDLE h) const;

 private:
  World &w_;
  std::map<std::string, std::unique_ptr<Module>> modules_;
  std::map<std::string, std::unique_ptr<const ClassFile>> classFiles_;  // by path
  std::map<std::string, MESHHANDLE> globalMeshes_;
  std::map<std::string, std::unique_ptr<const Mesh>> meshFiles_;  // as parsed, by path; never handed out
  std::vector<std::unique_ptr<Mesh>> meshes_;
  std::unordered_set<const void *> meshHandles_;  // those of meshes_
  std::map<std::string, SURFHANDLE> textures_;
  std::vector<LineMesh> meshesAskedWhileReading_;
};

}  // namespace sim
