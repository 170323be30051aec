// The launcher's exhaust textures and particle streams. Each stream's emission
// follows its thruster's level; the zero-thrust effect thrusters carry only a stream.
#include "exhaust.h"

namespace varnell {
namespace {

using P = PARTICLESTREAMSPEC;

// By StreamKind. Every stream is emissive and scales its emission with the
// square root of the thruster level above lmin.
const PARTICLESTREAMSPEC STREAMS[STREAM_KINDS] = {
    // flags, srcsize [m], srcrate [1/s], v0 [m/s], srcspread, lifetime [s], growthrate [m/s], atmslowdown,
    // ltype, levelmap, lmin, lmax, atmsmap, amin, amax, tex (null: the host's default particle)
    // booster flame trail
    {0, 1.0, 500, 150, 0.05, 0.15, -0.5, 1.0, P::EMISSIVE, P::LVL_PSQRT, 0, 0.5, P::ATM_PLOG, 0, 0.01, nullptr},
    // booster smoke trail
    {0, 3.0, 2, 150, 0.1, 10, 5, 5.5, P::EMISSIVE, P::LVL_PSQRT, 0, 0.05, P::ATM_FLAT, 0.1, 0.1, nullptr},
    // vent plume
    {0, 0.3, 1000, 10, 0.5, 0.2, 2, 0, P::EMISSIVE, P::LVL_PSQRT, 0, 0.5, P::ATM_PLOG, 0.000001, 0.1, nullptr},
    // ignition plume
    {0, 1.0, 100, 0, 0.8, 1.0, 1, 0.1, P::EMISSIVE, P::LVL_PSQRT, 0, 0.5, P::ATM_PLOG, 0.1, 0.1, nullptr},
    // attitude-thruster puff
    {0, 0.09, 1000, 20, 0, 0.2, 2, 0, P::EMISSIVE, P::LVL_PSQRT, 0, 0.5, P::ATM_PLOG, 0, 0, nullptr},
};

// The host's registration calls take writable names.
char VACUUM_FLAME[] = "ExhaustVac";
char BOOSTER_FLAME[] = "RealExhaust";
char FIRE_TRAIL[] = "Contrail_firetrail";

// What the host is handed; shared by every launcher of the module, whose builds
// all write the same values.
PARTICLESTREAMSPEC streamRecords[STREAM_KINDS];

}  // namespace

PARTICLESTREAMSPEC *ExhaustEffects::stream(StreamKind kind) const { return &streamRecords[kind]; }

ExhaustEffects PrepareExhaustEffects() {
  ExhaustEffects fx;
  fx.vacuumFlame = oapiRegisterExhaustTexture(VACUUM_FLAME);
  fx.boosterFlame = oapiRegisterExhaustTexture(BOOSTER_FLAME);
  SURFHANDLE fireTrail = oapiRegisterParticleTexture(FIRE_TRAIL);
  for (int kind = 0; kind < STREAM_KINDS; ++kind) streamRecords[kind] = STREAMS[kind];
  streamRecords[FLAME_TRAIL].tex = fireTrail;
  return fx;
}

}  // namespace varnell
