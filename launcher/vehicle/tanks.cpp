// The launcher's propellant: three tanks made once, with the vessel's class,
// that every configuration build draws on. Only booster separation deletes one.
#include "guarded.h"
#include "varnell.h"

namespace {

const double FULL_TANK = -1;    // the host's initial mass for a full tank
const double EFFICIENCY = 1.0;  // [fraction]

struct TankDef {
  PROPELLANT_HANDLE VARNELL::*handle;
  double maxMass;  // [kg]
};

// In this order, so that the host's first tank is the booster's.
const TankDef TANKS[] = {
    {&VARNELL::phBooster, 181903},    // booster
    {&VARNELL::phUpperStage, 21830},  // upper-stage engines
    {&VARNELL::phRcs, 75},            // upper-stage attitude control
};

}  // namespace

// Nothing is read from the class file: the module defines the whole vessel.
void VARNELL::clbkSetClassCaps(FILEHANDLE cfg) {
  Guarded("clbkSetClassCaps", [&] {
    for (const TankDef &t : TANKS) this->*t.handle = CreatePropellantResource(t.maxMass, FULL_TANK, EFFICIENCY);
  });
}
