// The pilot program's "expect" lines, checked against the world and its
// events once the flight has ended.
#pragma once

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "sim/pilot/program.h"
#include "sim/world/world.h"

namespace sim {
namespace runner {

struct ExpectationResult {
  bool met = false;
  std::string found;       // what the flight came to, for the report
  double eventTime = NAN;  // of the event found [s]; NaN when none or not an event expectation (tested with isnan)
  bool reached = true;     // false: due after the flight was stopped short (not met, and not failed either)
};

// One result per expectation, in order. cutShort: the flight was stopped
// before its end, at the world's time, so that what was due later, the end's
// readings and statuses among it, is not reached.
std::vector<ExpectationResult> checkExpectations(const World &w, const std::vector<pilot::Expectation> &expectations,
                                                 bool cutShort = false);

// A line per expectation, then how many were met and which were not
// reached; true when none failed.
bool reportExpectations(const std::vector<pilot::Expectation> &expectations,
                        const std::vector<ExpectationResult> &results, std::ostream &out);

}  // namespace runner
}  // namespace sim
