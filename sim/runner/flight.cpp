#include "sim/runner/flight.h"

#include <cmath>
#include <cstdio>

#include "sim/pilot/clock.h"
#include "sim/runner/dry_tanks.h"

namespace sim {
namespace runner {
namespace {

// Samples fall due at whole multiples of the interval, counted, so that one
// sample time gives one row whatever the step and however the clock rounds.
class Recorder {
 public:
  Recorder(World &w, FlightOutputs out) : w_(w), out_(out) {}

  void afterStep() {
    dryTanks_.afterStep(w_);
    for (; seen_ < w_.record().events().size(); ++seen_) {
      out_.progress.clear();
      out_.printer.event(w_.record().events()[seen_]);
      if (out_.files) out_.files->event(w_.record().events()[seen_]);
    }
    out_.printer.catchUp(w_.simTime());
    if (!out_.files || !due()) return;
    out_.files->sample(w_);
    while (due()) ++nextSample_;
  }

 private:
  World &w_;
  FlightOutputs out_;
  size_t seen_ = 0;
  DryTankWatch dryTanks_;
  long nextSample_ = 0;  // in intervals

  bool due() const { return pilot::timeReached(w_.simTime(), nextSample_ * out_.sampleInterval); }
};

std::string endReason(const World &w, const pilot::Pilot *pilot, double until) {
  if (!w.diverged().empty()) return w.diverged().front() + " diverged";
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
  while (!(pilot && pilot->ended()) && !pilot::timeReached(w.simTime(), until) && w.diverged().empty()) {
    w.step();
    ++result.steps;
    record.afterStep();
    out.progress.update(w.simTime(), until, w.vessels().size());
  }
  w.pilot = nullptr;
  result.endedBy = endReason(w, pilot, until);
  result.diverged = !w.diverged().empty();
  w.record().record("", EventKind::end, result.endedBy);
  record.afterStep();
  out.printer.flush();
  out.progress.clear();
  result.wallTime = out.progress.wallSeconds();
  return result;
}

}  // namespace runner
}  // namespace sim
