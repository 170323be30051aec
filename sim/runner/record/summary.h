// summary.json: the flight in one file for scripts, with every event, the
// final state of every vessel (and, of one made in flight, where it was made
// and the orbit it started on), and each expectation with what was found.
#pragma once

#include <string>
#include <vector>

#include "sim/runner/expectations.h"
#include "sim/runner/flight.h"
#include "sim/world/world.h"

namespace sim {
namespace runner {

struct SummaryHeader {
  std::string scenario;  // as given on the command line
  std::string pilot;     // the pilot program's file; empty when flown without one
  std::string outcome;   // "success", "stopped by --until", "expectations not met" or "diverged"
};

// What the pilot program expected of the flight, and what the flight came to.
struct Verdict {
  const std::vector<pilot::Expectation> &expectations;
  const std::vector<ExpectationResult> &results;
};

// The summary as JSON text: valid UTF-8 whatever the names hold (a byte that
// is not is shown as U+FFFD), no number that JSON lacks (null instead).
std::string summaryJson(const World &w, const SummaryHeader &h, const FlightResult &r, const Verdict &v);
// Writes it to path; throws when it cannot.
void writeSummary(const std::string &path, const World &w, const SummaryHeader &h, const FlightResult &r,
                  const Verdict &v);

}  // namespace runner
}  // namespace sim
