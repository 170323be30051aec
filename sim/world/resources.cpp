#include "sim/world/resources.h"

#include "sim/api/handles.h"
#include "sim/formats/class_file.h"
#include "sim/formats/mesh.h"
#include "sim/formats/scenario_handles.h"
#include "sim/formats/text.h"
#include "sim/platform/module.h"
#include "sim/world/world.h"

namespace sim {

Resources::Resources(World &w) : w_(w) {}
Resources::~Resources() = default;

void Resources::unloadModules() { modules_.clear(); }

Module *Resources::loadModule(const std::string &name) {
  auto it = modules_.find(name);
  if (it != modules_.end()) return it->second.get();
  std::unique_ptr<Module> m = Module::open(name);
  if (!m) {
    w_.log().error("cannot load module Modules\\" + name);
    return nullptr;
  }
  w_.log().info("module loaded: " + name);
  return (modules_[name] = std::move(m)).get();
}

// A file that cannot be opened is not kept, so every vessel of a missing class
// is logged.
const ClassFile *Resources::classFile(const std::string &path) {
  auto it = classFiles_.find(path);
  if (it != classFiles_.end()) {
    it->second->tellSkipped(w_.log());
    return it->second.get();
  }
  std::unique_ptr<ClassFile> cf = ClassFile::read(path, w_.log());
  if (!cf) return nullptr;
  return (classFiles_[path] = std::move(cf)).get();
}

// A failed load is not cached, so every request for a missing mesh is logged.
MESHHANDLE Resources::loadMeshGlobal(const std::string &name) {
  const std::string key = namePath(name);
  auto it = globalMeshes_.find(key);
  if (it != globalMeshes_.end()) return it->second;
  MESHHANDLE h = loadMesh(name);
  if (h) {
    globalMeshes_[key] = h;
    w_.log().info("global mesh loaded: " + name);
  }
  return h;
}

// A mesh asked for while a scenario line is read fails that line, which is
// where a person has to mend it; the mesh file's own fault comes with it.
// Every load gets a record of its own, copied from the file's parsed content:
// its handle is its own, as the simulator's copies are, and its name the one
// it was asked by. A file that failed is read again, to be logged again.
MESHHANDLE Resources::loadMesh(const std::string &name) {
  const VesselLines *reading = activeScenarioCall().lines;
  if (reading) meshesAskedWhileReading_.push_back({reading->file(), reading->lineNumber(), reading->lineText(), name});
  const std::string path = w_.root() + "/Meshes/" + namePath(name) + ".msh";
  Log reader("");
  std::unique_ptr<Mesh> m;
  auto parsed = meshFiles_.find(path);
  if (parsed != meshFiles_.end()) {
    m = std::make_unique<Mesh>(*parsed->second);
    m->name = name;
  } else if ((m = readMesh(path, name, reader))) {
    meshFiles_[path] = std::make_unique<const Mesh>(*m);
  }
  if (!m) {
    const Vessel *calling = w_.callingVessel;
    const std::string who = calling ? calling->name + " asked for a mesh that did not load: " : "";
    if (reading)
      w_.log().error(who + reader.errors().back(), reading->file(), reading->lineNumber());
    else
      w_.log().error(reader.errors().back());
    return nullptr;
  }
  meshes_.push_back(std::move(m));
  meshHandles_.insert(meshes_.back().get());
  return meshes_.back().get();
}

// A set look-up: every vessel's AddMesh asks, whatever the number of meshes.
const Mesh *Resources::mesh(MESHHANDLE h) const {
  return meshHandles_.count(h) ? static_cast<const Mesh *>(h) : nullptr;
}

SURFHANDLE Resources::registerTexture(const std::string &name, bool particle) {
  const std::string key = (particle ? "particle:" : "exhaust:") + name;
  auto it = textures_.find(key);
  if (it != textures_.end()) return it->second;
  return textures_[key] = handleOf(w_.nextId());
}

std::string Resources::textureName(SURFHANDLE h) const {
  for (const auto &t : textures_)
    if (t.second == h) return t.first.substr(t.first.find(':') + 1);
  return "";
}

}  // namespace sim
