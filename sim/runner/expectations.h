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
};

// One result per expectation, in order.
std::vector<ExpectationResult> checkExpectations(const World &w, const std::vector<pilot::Expectation> &expectations);

// A line per expectation, then how many were met; true when all were.
bool reportExpectations(const std::vector<pilot::Expectation> &expectations,
                        const std::vector<ExpectationResult> &results, std::ostream &out);

}  // namespace runner
}  // namespace sim
