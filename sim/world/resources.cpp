// Meshes and textures: what modules load by name. Mesh handles are the Mesh
// records' addresses, checked against the world's own before use; textures are
// only named, never read.
#include "sim/api/handles.h"
#include "sim/formats/mesh.h"
#include "sim/formats/scenario_handles.h"
#include "sim/formats/text.h"
#include "sim/world/world.h"

namespace sim {

// A failed load is not cached, so every request for a missing mesh is logged.
MESHHANDLE World::loadMeshGlobal(const std::string &name) {
  meshRequests.push_back(name);
  const std::string key = namePath(name);
  auto it = globalMeshes_.find(key);
  if (it != globalMeshes_.end()) return it->second;
  MESHHANDLE h = loadMesh(name);
  if (h) globalMeshes_[key] = h;
  return h;
}

// A mesh asked for while a scenario line is read fails that line, which is
// where a person has to mend it; the mesh file's own fault comes with it.
MESHHANDLE World::loadMesh(const std::string &name) {
  const VesselLines *reading = activeScenarioCall().lines;
  if (reading) meshesAskedWhileReading.push_back({reading->file(), reading->lineNumber(), reading->lineText(), name});
  Log reader("");
  std::unique_ptr<Mesh> m = readMesh(root_ + "/Meshes/" + namePath(name) + ".msh", name, reader);
  if (!m) {
    const std::string who = callingVessel ? callingVessel->name + " asked for a mesh that did not load: " : "";
    if (reading)
      log_->error(who + reader.errors().back(), reading->file(), reading->lineNumber());
    else
      log_->error(reader.errors().back());
    return nullptr;
  }
  meshes_.push_back(std::move(m));
  return meshes_.back().get();
}

const Mesh *World::mesh(MESHHANDLE h) const {
  for (const auto &m : meshes_)
    if (m.get() == h) return m.get();
  return nullptr;
}

SURFHANDLE World::registerTexture(const std::string &name, bool particle) {
  const std::string key = (particle ? "particle:" : "exhaust:") + name;
  auto it = textures_.find(key);
  if (it != textures_.end()) return it->second;
  return textures_[key] = handleOf(nextId());
}

std::string World::textureName(SURFHANDLE h) const {
  for (const auto &t : textures_)
    if (t.second == h) return t.first.substr(t.first.find(':') + 1);
  return "";
}

}  // namespace sim
