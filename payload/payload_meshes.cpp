// The payloads on the carrier: their meshes among the carrier's own, placed
// from the payload stack origin of the carrier's configuration, and their mass.
#include "common_vessel_ex.h"

namespace {

const double NO_MASS = 0.0001;  // payloads this light have no centre to speak of [kg]

}  // namespace

void COMMON_VESSEL_EX::ClearPayloadMeshes() {
  ClearMeshes();
  payloadMeshes.clear();
}

// Where each payload sits is fixed here, for the release to put it there.
void COMMON_VESSEL_EX::AddPayloadMeshes(const VECTOR3 &stackOrigin) {
  for (PAYLOAD_ENTRY &e : entries) {
    if (!e.used) continue;
    e.carrierPos = e.mesh.offset + stackOrigin;
    payloadMeshes.push_back(e.mesh);
  }
  for (PAYLOAD_MESH &m : payloadMeshes) {
    const VECTOR3 pos = m.offset + stackOrigin;
    m.meshIndex = AddMesh(m.hMesh, &pos);
    SetMeshVisibilityMode(m.meshIndex, static_cast<WORD>(payloadMeshVisMode));
  }
}

void COMMON_VESSEL_EX::AddPayloadMeshes() { AddPayloadMeshes(_V(0, 0, 0)); }

// The centre is summed from each offset times its share of the mass, which
// stays within the offsets' own range: the manifest takes any finite numbers,
// and an offset times a mass could overflow where the mean does not.
double COMMON_VESSEL_EX::GetPayloadMass(VECTOR3 &centre) const {
  centre = _V(0, 0, 0);
  double total = 0;
  for (const PAYLOAD_ENTRY &e : entries)
    if (e.used) total += e.mass;
  if (total <= NO_MASS) return total;
  for (const PAYLOAD_ENTRY &e : entries)
    if (e.used) centre += e.mesh.offset * (e.mass / total);
  return total;
}

double COMMON_VESSEL_EX::GetPayloadMass() const {
  VECTOR3 centre;
  return GetPayloadMass(centre);
}
