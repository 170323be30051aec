// Fairing jettison: the two halves leave the upper stage as vessels of their
// own, each pushed out along its own side of the x axis and tumbling away,
// and the launcher shows no fairing from then on.
#include "separated_body.h"
#include "varnell.h"

namespace {

struct FairingHalfDef {
  const char *name;  // the same for every launcher
  const char *className;
  VECTOR3 VARNELL::*offset;  // where its mesh was
  VECTOR3 push;              // launcher frame [m/s]
  VECTOR3 spin;              // angular velocity, replacing the launcher's [rad/s]
};

// Half 2 (+x side) goes first.
const FairingHalfDef FAIRING_HALVES[] = {
    {"Varnellplf2", "Varnell\\Varnellplf2", &VARNELL::ofsPlf2, {4.0, 0, 0}, {0, -0.5, 0}},
    {"Varnellplf1", "Varnell\\Varnellplf1", &VARNELL::ofsPlf1, {-4.0, 0, 0}, {0, 0.5, 0}},
};

}  // namespace

// Without the fairing the recorded mesh indices may name other meshes by now,
// so nothing at all is done.
void VARNELL::JettisonFairing() {
  if (!fairingAttached) return;
  DelMesh(plf1MeshIndex, false);
  DelMesh(plf2MeshIndex, false);
  for (const FairingHalfDef &half : FAIRING_HALVES) {
    VESSELSTATUS status = SeparatedBodyStatus(*this, this->*half.offset, half.push);
    status.eng_main = status.eng_hovr = 0;
    status.vrot = half.spin;
    oapiCreateVessel(half.name, half.className, status);
  }
  fairingAttached = false;
  SetEmptyMass(GetEmptyMass() - fairingMass);  // the halves weigh it now
  fairingMass = 0;
}
