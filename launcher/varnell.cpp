// The launcher's construction. It builds nothing on the vessel: the tanks come
// with the class capabilities, and meshes, mass and engines with the first
// configuration build.
#include "varnell.h"

#include <cstddef>
#include <iterator>

namespace {

// The stage and fairing meshes, shared by every launcher and by the spent
// booster and fairing halves; the host owns them.
const char *const GLOBAL_MESH_NAMES[] = {"Varnell\\Varnellstg0", "Varnell\\Varnellstg1B", "Varnell\\Varnellplf1",
                                         "Varnell\\Varnellplf2"};

}  // namespace

VARNELL::VARNELL(OBJHANDLE hVessel, int flightmodel) : COMMON_VESSEL_EX(hVessel) {
  MESHHANDLE *const meshes[] = {&meshStg0, &meshStg1B, &meshPlf1, &meshPlf2};
  static_assert(std::size(meshes) == std::size(GLOBAL_MESH_NAMES), "one name per mesh field");
  for (std::size_t i = 0; i < std::size(meshes); ++i) *meshes[i] = oapiLoadMeshGlobal(GLOBAL_MESH_NAMES[i]);
}
