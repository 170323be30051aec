// The launcher's exhaust textures and particle streams, as one build uses them.
#pragma once

#include "host/OrbiterAPI.h"

namespace varnell {

enum StreamKind { FLAME_TRAIL, SMOKE_TRAIL, VENT_PLUME, IGNITION_PLUME, RCS_PUFF, STREAM_KINDS };

struct ExhaustEffects {
  SURFHANDLE vacuumFlame = nullptr;   // upper-stage flames
  SURFHANDLE boosterFlame = nullptr;  // booster flames
  PARTICLESTREAMSPEC streams[STREAM_KINDS];
  PARTICLESTREAMSPEC *stream(StreamKind kind) { return &streams[kind]; }
};

// Registers the textures with the host (every build asks again) and fills the
// stream definitions with them.
ExhaustEffects PrepareExhaustEffects();

}  // namespace varnell
