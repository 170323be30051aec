// The launcher's exhaust textures and particle streams, as one build uses them.
#pragma once

#include "OrbiterAPI.h"

namespace varnell {

enum StreamKind { FLAME_TRAIL, SMOKE_TRAIL, VENT_PLUME, IGNITION_PLUME, RCS_PUFF, STREAM_KINDS };

struct ExhaustEffects {
  SURFHANDLE vacuumFlame = nullptr;   // upper-stage flames
  SURFHANDLE boosterFlame = nullptr;  // booster flames
  PARTICLESTREAMSPEC *stream(StreamKind kind) const;
};

// Registers the textures with the host (every build asks again) and fills the
// stream records afresh with them. The records live as long as the module, as
// a host may keep the pointer it is given.
ExhaustEffects PrepareExhaustEffects();

}  // namespace varnell
