// What one frame of the executive notes as it goes, kept by the world and
// reused by every frame, since a frame is short and frequent.
#pragma once

#include <cstddef>
#include <vector>

namespace sim {

struct Vessel;

struct FrameScratch {
  // What a frame may change of a vessel besides its flight state (which
  // Vessel::frameStart keeps), as it was at the frame's start: its tanks'
  // contents [kg], in the pool.
  struct Snapshot {
    Vessel *vessel;
    size_t firstTank, tanks;  // in the pool
  };
  // Reaching the ground or leaving it under thrust, noted during the frame
  // and recorded after it.
  struct Touchdown {
    Vessel *vessel;
    bool leaving;
    double value;  // the speed against the ground [m/s]; leaving, the thrust [N]
  };

  std::vector<Snapshot> before;
  std::vector<double> tankPool;
  std::vector<Touchdown> touchdowns;
  std::vector<Vessel *> landings;  // come to rest on the ground

  void clear() {
    before.clear();
    tankPool.clear();
    touchdowns.clear();
    landings.clear();
  }
};

}  // namespace sim
