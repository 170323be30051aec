// Booster separation: the spent booster becomes a vessel of its own, with two
// small thrusters that fire at once and push it back, away from the upper
// stage, until their 100 kg of propellant are gone (about 11 s). The launcher
// keeps nothing of it.
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <iterator>

#include "separated_body.h"
#include "varnell.h"

namespace {

const char SPENT_BOOSTER_CLASS[] = "Varnell\\Varnellstg0";
const int NAME_SIZE = 256;  // the spent booster's name, cut to fit

const double SEPARATION_PROPELLANT = 100;  // full at creation [kg]
const double SEPARATION_THRUST = 20000;    // each, in vacuum [N]
const double SEPARATION_ISP = 4500;        // in vacuum and at the reference pressure [m/s]
const double SEPARATION_P_REF = 100000;    // [Pa]

// Backward and towards the centre line, so that the side forces cancel; the
// first one alone also pushes slightly down.
struct SeparationThrusterDef {
  VECTOR3 pos;  // spent booster frame [m]
  VECTOR3 dir;  // of the thrust
};
const SeparationThrusterDef SEPARATION_THRUSTERS[] = {
    {{-1.82, 0, -14.8}, {1, -0.02, -1}},
    {{1.82, 0, -14.8}, {-1, 0, -1}},
};

using P = PARTICLESTREAMSPEC;
enum SeparationStream { GLOW, SMOKE };
// Not const only because the host's interface takes a writable record; nothing
// writes them, and they live as long as the module, as a host may keep the pointer.
PARTICLESTREAMSPEC SEPARATION_STREAM_SPECS[] = {
    // flags, srcsize [m], srcrate [1/s], v0 [m/s], srcspread, lifetime [s], growthrate [m/s], atmslowdown,
    // ltype, levelmap, lmin, lmax, atmsmap, amin, amax [kg/m^3], tex (null: the host's default particle)
    // GLOW: small, dense and short-lived; shines by itself
    {0, 0.5, 20, 50, 0.05, 0.5, 10, 50, P::EMISSIVE, P::LVL_PSQRT, 0, 1, P::ATM_PLOG, 0, 1.23, nullptr},
    // SMOKE: larger, sparse and longer-lived; lit by the sun
    {0, 0.8, 3, 50, 0.1, 1.0, 20, 50, P::DIFFUSE, P::LVL_PSQRT, 0, 5, P::ATM_PLOG, 0, 1.23, nullptr},
};

struct StreamDef {
  int thruster;  // in SEPARATION_THRUSTERS
  SeparationStream stream;
};
const StreamDef SEPARATION_STREAMS[] = {{1, GLOW}, {0, GLOW}, {1, SMOKE}, {0, SMOKE}};

// The booster's leftover propellant goes with it: the separation motors'
// tank takes up to its capacity, a second tank (feeding nothing) the rest, so
// that staging neither makes nor loses mass.
void FireSeparationThrusters(VESSEL &booster, double leftover) {
  const double fed = std::min(std::max(leftover, 0.0), SEPARATION_PROPELLANT);  // [kg]
  PROPELLANT_HANDLE tank = booster.CreatePropellantResource(SEPARATION_PROPELLANT, fed, 1.0);
  if (leftover > fed) booster.CreatePropellantResource(leftover - fed, leftover - fed, 1.0);
  THRUSTER_HANDLE th[std::size(SEPARATION_THRUSTERS)];
  for (std::size_t i = 0; i < std::size(th); ++i)
    th[i] = booster.CreateThruster(SEPARATION_THRUSTERS[i].pos, SEPARATION_THRUSTERS[i].dir, SEPARATION_THRUST, tank,
                                   SEPARATION_ISP, SEPARATION_ISP, SEPARATION_P_REF);
  for (THRUSTER_HANDLE t : th) booster.SetThrusterLevel(t, 1.0);
  for (const StreamDef &s : SEPARATION_STREAMS)
    booster.AddExhaustStream(th[s.thruster], &SEPARATION_STREAM_SPECS[s.stream]);
}

}  // namespace

void VARNELL::SeparateBooster(double leftover) {
  // The status read here is still the full stack's, whose origin is the
  // booster's; ConfigureUpperStage moves the origin up to the upper stage
  // (UPPER_STAGE_OFFSET) after this. So the booster leaves from where it was
  // drawn, ofsStg0, UPPER_STAGE_OFFSET behind the upper stage.
  VESSELSTATUS status = SeparatedBodyStatus(*this, ofsStg0, _V(0, 0, 0));
  char name[NAME_SIZE];
  std::snprintf(name, sizeof name, "%s-SEP", GetName());
  OBJHANDLE booster = oapiCreateVessel(name, SPENT_BOOSTER_CLASS, status);
  VESSEL *spent = booster ? oapiGetVesselInterface(booster) : nullptr;
  if (spent) FireSeparationThrusters(*spent, leftover);  // a refused booster has nothing to set up
}
