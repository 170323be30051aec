// summary.json: the flight in one file for scripts, with every event and the
// final state of every vessel.
#pragma once

#include <string>
#include <vector>

#include "../world.h"
#include "flight.h"

namespace sim {
namespace runner {

// An expect line of the pilot program and what the flight came to.
struct CheckedExpectation {
  int line = 0;
  std::string text;
  bool met = false;
  std::string found;
};

struct SummaryHeader {
  std::string scenario;  // as given on the command line
  std::string pilot;     // the pilot program's file; empty when flown without one
  std::vector<CheckedExpectation> expectations;
};

// The summary as JSON text.
std::string summaryJson(const World &w, const SummaryHeader &h, const FlightResult &r);
// Writes it to path; throws when it cannot.
void writeSummary(const std::string &path, const World &w, const SummaryHeader &h, const FlightResult &r);

}  // namespace runner
}  // namespace sim
