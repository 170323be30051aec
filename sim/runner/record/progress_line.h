// A progress line for long runs on a terminal, rewritten in place with '\r'.
// It shows only after the run has taken a second of wall time, and is
// cleared before anything else is printed so that lines never mix.
#pragma once

#include <chrono>
#include <ostream>
#include <string>

namespace sim {
namespace runner {

class ProgressLine {
 public:
  // A disabled line never prints (output that is not a terminal).
  ProgressLine(std::ostream &out, bool enabled);
  // Simulation time t of until [s], with the number of vessels.
  void update(double t, double until, size_t vessels);
  void clear();
  double wallSeconds() const;  // since construction [s]

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream &out_;
  bool enabled_;
  Clock::time_point start_, lastDrawn_;
  size_t width_ = 0;  // of the line on screen [characters]
};

}  // namespace runner
}  // namespace sim
