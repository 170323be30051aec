// report.html: a flight folder's record (telemetry.csv, events.csv,
// summary.json) made into one page that any browser opens offline, holding
// its data, its script and its chart library inline.
#pragma once

#include <string>

namespace sim {
namespace runner {

// The page; throws std::runtime_error naming the file (and line) that is
// missing or cannot be read.
std::string reportHtml(const std::string &dir);
// Writes dir/report.html and returns its size [bytes]; nothing is written
// when the record cannot be read.
size_t writeReport(const std::string &dir);

}  // namespace runner
}  // namespace sim
