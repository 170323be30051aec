#include "flight.h"

#include <cmath>
#include <cstdio>

#include "../pilot/clock.h"
#include "dry_tanks.h"

namespace sim {
namespace runner {
namespace {

const double kSampleInterval = 1.0;  // telemetry [s]

class Recorder {
 public:
  Recorder(World &w, FlightOutputs out) : w_(w), out_(out), nextSample_(w.simTime()) {}

  void afterStep() {
    dryTanks_.afterStep(w_);
    for (; seen_ < w_.events.size(); ++seen_) {
      out_.progress.clear();
      out_.printer.event(w_.events[seen_]);
      if (out_.files) out_.files->event(w_.events[seen_]);
    }
    out_.printer.catchUp(w_.simTime());
    if (!out_.files || !pilot::timeReached(w_.simTime(), nextSample_)) return;
    out_.files->sample(w_);
    nextSample_ = (std::floor(w_.simTime() / kSampleInterval + 1e-9) + 1) * kSampleInterval;
  }

 private:
  World &w_;
  FlightOutputs out_;
  size_t seen_ = 0;
  DryTankWatch dryTanks_;
  double nextSample_;  // [s]
};

std::string endReason(const pilot::Pilot *pilot, double until) {
  if (pilot && pilot->ended())
    return "pilot " + pilot->program().file + " line " + std::to_string(pilot->ended()->line);
  char text[64];
  std::snprintf(text, sizeof text, "time limit %g s", until);
  return text;
}

}  // namespace

FlightResult fly(World &w, pilot::Pilot *pilot, double until, FlightOutputs out) {
  Recorder record(w, out);
  FlightResult result;
  if (pilot) w.pilot = [pilot](World &world) { pilot->act(world); };
  record.afterStep();
  while (!(pilot && pilot->ended()) && !pilot::timeReached(w.simTime(), until)) {
    w.step();
    ++result.steps;
    record.afterStep();
    out.progress.update(w.simTime(), until, w.vessels().size());
  }
  w.pilot = nullptr;
  result.endedBy = endReason(pilot, until);
  w.recordEvent("", "end", result.endedBy);
  record.afterStep();
  out.printer.flush();
  out.progress.clear();
  result.wallTime = out.progress.wallSeconds();
  return result;
}

}  // namespace runner
}  // namespace sim
