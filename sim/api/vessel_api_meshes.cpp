// VESSEL: the vessel's mesh slots. A slot that DelMesh empties is filled again
// by the next AddMesh, so a module's mesh indices stay what it expects.
#include "sim/api/vessel_api.h"

using sim::api::self;

namespace {

// Index of the lowest empty slot, or of a new one at the end.
UINT freeSlot(sim::Vessel &v) {
  for (size_t i = 0; i < v.meshes.size(); ++i)
    if (!v.meshes[i].used) return static_cast<UINT>(i);
  v.meshes.emplace_back();
  return static_cast<UINT>(v.meshes.size() - 1);
}

UINT addMesh(sim::Vessel &v, MESHHANDLE h, const VECTOR3 *ofs) {
  const UINT idx = freeSlot(v);
  v.meshes[idx] = {true, h, ofs ? *ofs : _V(0, 0, 0), MESHVIS_EXTERNAL};
  return idx;
}

sim::MeshSlot *usedSlot(sim::Vessel &v, UINT idx, const char *method) {
  if (idx < v.meshes.size() && v.meshes[idx].used) return &v.meshes[idx];
  sim::api::refuse(std::string("VESSEL::") + method + ": " + v.name + " has no mesh " + std::to_string(idx));
  return nullptr;
}

}  // namespace

// A mesh that failed to load still takes its slot (empty), so that the indices
// of the module's later meshes are the ones it counts on.
UINT VESSEL::AddMesh(MESHHANDLE hMesh, const VECTOR3 *ofs) const {
  sim::Vessel *v = self(this, "AddMesh");
  if (!v) return 0;
  if (!sim::World::current()->resources().mesh(hMesh)) {
    sim::api::refuse("VESSEL::AddMesh: " + v->name + " was given a mesh handle that names no mesh");
    hMesh = nullptr;
  }
  return addMesh(*v, hMesh, ofs);
}

UINT VESSEL::AddMesh(const char *meshname, const VECTOR3 *ofs) const {
  sim::Vessel *v = self(this, "AddMesh");
  if (!v) return 0;
  return addMesh(*v, meshname ? sim::World::current()->resources().loadMesh(meshname) : nullptr, ofs);
}

bool VESSEL::DelMesh(UINT idx, bool retain_anim) const {
  sim::Vessel *v = self(this, "DelMesh");
  sim::MeshSlot *slot = v ? usedSlot(*v, idx, "DelMesh") : nullptr;
  if (!slot) return false;
  *slot = sim::MeshSlot{};
  return true;
}

void VESSEL::ClearMeshes() const {
  if (sim::Vessel *v = self(this, "ClearMeshes")) v->meshes.clear();
}

void VESSEL::SetMeshVisibilityMode(UINT idx, WORD mode) const {
  sim::Vessel *v = self(this, "SetMeshVisibilityMode");
  if (sim::MeshSlot *slot = v ? usedSlot(*v, idx, "SetMeshVisibilityMode") : nullptr) slot->visibility = mode;
}
