// The telemetry as the report holds it. Every sample of telemetry.csv is
// kept, yet the page must stay small: each vessel's rows are split into
// columns, each number is rounded to its column's step (a step no finer than
// the file's own decimals; finer than anyone reads off a chart), and a column
// is written as the differences from what its previous one or two values
// foretell, which are small numbers in a flight's smooth series.
//
// A column's text is its order ('1': the next value is foretold to equal the
// last; '2': to go on as the last two did), then one token per row. A token
// is 0 for an empty field, else the zigzagged difference (0, -1, 1, -2 ... as
// 0, 1, 2, 3 ...) plus 1, written as base-64 digits of five bits each, least
// significant first, with 32 added to every digit but the last. The digits
// are A-Z a-z 0-9 - _ for 0 to 63. A column of words (a vessel's status) is
// the same, numbering the words in the order they first appear.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "sim/runner/report/csv_table.h"

namespace sim {
namespace runner {

// The steps, rounded to which the report keeps its numbers: a column of the
// runner's telemetry (telemetry_columns.h) its own step, unless the file gives
// fewer decimals; any other column the decimals the file gives it.
double reportStep(const std::string &column, double fileStep);

// One column's text; values that are NaN are empty fields, and so are values
// beyond 2^48 steps, which the page's arithmetic could not keep exact.
std::string encodeColumn(const std::vector<double> &values, double step);

// {"columns": [{"name", "step"} or {"name", "words"}], "vessels": [{"name",
// "rows", "columns": [text per column]}]}; every column but "vessel". Throws
// "FILE:LINE: ..." for a field that should be a number and is not.
nlohmann::json telemetryJson(const CsvTable &t);

}  // namespace runner
}  // namespace sim
