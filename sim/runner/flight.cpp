#include "sim/runner/flight.h"

#include <cmath>
#include <cstdio>

#include "sim/formats/scenario_handles.h"
#include "sim/pilot/clock.h"
#include "sim/runner/dry_tanks.h"

namespace sim {
namespace runner {
namespace {

// Samples fall due at whole multiples of the interval, counted, so that one
// sample time gives one row whatever the step and however the clock rounds.
class Recorder {
 public:
  Recorder(World &w, FlightOutputs out) : w_(&w), out_(out), seen_(w.record().carried()) {
    // A flight carried on from its folder has its rows up to its start here.
    if (w.flightTime() > 0)
      while (due()) ++nextSample_;
  }

  // A world loaded again carries the record on: only its tanks are new to the watch.
  void reloaded(World &w) {
    w_ = &w;
    dryTanks_ = DryTankWatch();
    dryTanks_.afterStep(w);
  }

  void afterStep() {
    World &w = *w_;
    dryTanks_.afterStep(w);
    for (; seen_ < w.record().events().size(); ++seen_) {
      out_.progress.clear();
      out_.printer.event(w.record().events()[seen_]);
      if (out_.files) out_.files->event(w.record().events()[seen_]);
    }
    out_.printer.catchUp(w.flightTime());
    if (!out_.files || !due()) return;
    out_.files->sample(w);
    while (due()) ++nextSample_;
  }

 private:
  World *w_;
  FlightOutputs out_;
  size_t seen_;
  DryTankWatch dryTanks_;
  long nextSample_ = 0;  // in intervals

  bool due() const { return pilot::timeReached(w_->flightTime(), nextSample_ * out_.sampleInterval); }
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

FlightResult fly(std::unique_ptr<World> &world, pilot::Pilot *pilot, double until, FlightOutputs out,
                 ReloadPlan *plan) {
  Recorder record(*world, out);
  FlightResult result;
  const auto takeControls = [pilot](World &w) {
    if (pilot) w.pilot = [pilot](World &flown) { pilot->act(flown); };
  };
  takeControls(*world);
  record.afterStep();
  size_t next = 0;  // of the plan's times
  while (!(pilot && pilot->ended()) && !pilot::timeReached(world->flightTime(), until) && world->diverged().empty()) {
    world->step();
    ++result.steps;
    record.afterStep();
    out.progress.update(world->flightTime(), until, world->vessels().size());
    for (; plan && next < plan->at.size() && pilot::timeReached(world->flightTime(), plan->at[next]); ++next) {
      if (plan->checkpoints) plan->checkpoints->push_back(checkpointOf(*world));
      if (!plan->reload) {  // flown through: only what the scenario's text cannot keep to the last bit
        for (const auto &v : world->vessels()) asSavedAndLoaded(*world, *v);
        continue;
      }
      world = reloaded(std::move(world), plan->logPath);
      takeControls(*world);
      record.reloaded(*world);
      ++plan->done;
    }
  }
  World &w = *world;
  w.pilot = nullptr;
  result.endedBy = endReason(w, pilot, until);
  result.diverged = !w.diverged().empty();
  w.record().record("", EventKind::end, result.endedBy);
  record.afterStep();
  if (plan && plan->checkpoints) plan->checkpoints->push_back(checkpointOf(w));
  out.printer.flush();
  out.progress.clear();
  result.wallTime = out.progress.wallSeconds();
  return result;
}

}  // namespace runner
}  // namespace sim
