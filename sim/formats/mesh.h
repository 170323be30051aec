// A mesh in the simulator's plain-text format (Meshes/<name>.msh), read for its
// shape: groups, vertex and triangle counts, and the box that holds it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/OrbiterAPI.h"
#include "sim/world/log.h"

namespace sim {

struct MeshGroup {
  std::string label;
  int material = 0;  // 1-based into Mesh::materials; 0: none
  int texture = 0;   // 1-based into Mesh::textures; 0: none
  bool noNormals = false;
  unsigned long flags = 0;
  int vertices = 0;
  int triangles = 0;
};

struct Mesh {
  std::string name;  // as it was asked for
  std::vector<MeshGroup> groups;
  std::vector<std::string> materials;
  std::vector<std::string> textures;
  VECTOR3 boxMin{}, boxMax{};  // mesh frame [m]
  int vertexCount() const;
  int triangleCount() const;
};

// Reads a mesh file; null, with the file and line of the fault logged, when it
// is missing or malformed.
std::unique_ptr<Mesh> readMesh(const std::string &path, const std::string &name, Log &log);

}  // namespace sim
