#include "sim/runner/report/report_columns.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "sim/formats/text.h"
#include "sim/runner/record/telemetry_columns.h"

namespace sim {
namespace runner {
namespace {

const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

// Beyond this many steps a value is left out rather than lose its last digits in
// the page's arithmetic, which is exact to 2^53.
const double kLargest = 281474976710656.0;  // 2^48 [steps]

void token(std::string &out, unsigned long long v) {
  while (v >= 32) {
    out += kDigits[32 + (v & 31)];
    v >>= 5;
  }
  out += kDigits[v];
}

std::string encodeOrder(const std::vector<double> &values, double step, int order) {
  std::string out(1, static_cast<char>('0' + order));
  long long last = 0, before = 0;
  int seen = 0;
  for (double x : values) {
    // Empty (NaN), or too large to keep; the comparison is a quiet one, which
    // NaN leaves without raising the invalid flag.
    if (!std::islessequal(std::fabs(x), kLargest * step)) {
      token(out, 0);
      continue;
    }
    const double steps = x / step;
    const long long q = std::llround(steps);
    const long long foretold = order == 2 && seen >= 2 ? 2 * last - before : last;
    const long long d = q - foretold;
    token(out,
          (d >= 0 ? 2ULL * static_cast<unsigned long long>(d) : 2ULL * static_cast<unsigned long long>(-d) - 1) + 1);
    before = last;
    last = q;
    ++seen;
  }
  return out;
}

// Decimals of a number as written: "12.500" has three.
int decimalsOf(const std::string &text) {
  const size_t dot = text.find('.');
  if (dot == std::string::npos) return 0;
  size_t end = dot + 1;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  return static_cast<int>(end - dot - 1);
}

// The runner's own columns, which the report keeps to their steps.
const TelemetryColumn *columnOf(const std::string &name) {
  for (const TelemetryColumn &c : telemetryColumns())
    if (name == c.name) return &c;
  return nullptr;
}

}  // namespace

double reportStep(const std::string &column, double fileStep) {
  const TelemetryColumn *c = columnOf(column);
  return c ? std::max(c->step, fileStep) : fileStep;
}

std::string encodeColumn(const std::vector<double> &values, double step) {
  std::string first = encodeOrder(values, step, 1), second = encodeOrder(values, step, 2);
  return second.size() < first.size() ? second : first;
}

nlohmann::json telemetryJson(const CsvTable &t) {
  const size_t vesselColumn = t.column("vessel");
  const size_t timeColumn = t.column("t_s");
  // Each vessel's rows, vessels in the order they first appear.
  std::vector<std::string> names;
  std::map<std::string, std::vector<size_t>> rowsOf;
  for (size_t r = 0; r < t.rows.size(); ++r) {
    const std::string &name = t.rows[r][vesselColumn];
    if (!rowsOf.count(name)) names.push_back(name);
    rowsOf[name].push_back(r);
  }
  nlohmann::json columns = nlohmann::json::array(), vessels = nlohmann::json::array();
  for (const std::string &name : names)
    vessels.push_back({{"name", name}, {"rows", rowsOf[name].size()}, {"columns", nlohmann::json::array()}});
  for (size_t c = 0; c < t.header.size(); ++c) {
    if (c == vesselColumn) continue;
    // A column is numbers when every field it fills reads as one; else
    // words, unless it is one the runner writes as numbers.
    const bool mustBeNumbers = columnOf(t.header[c]) || c == timeColumn;
    std::vector<double> numbers(t.rows.size(), NAN);  // empty fields; encodeOrder compares them quietly
    bool numeric = true;
    int decimals = 0;
    for (size_t r = 0; r < t.rows.size() && numeric; ++r) {
      const std::string &f = t.rows[r][c];
      if (f.empty() && c != timeColumn) continue;
      numeric = toNumber(f, numbers[r]) && std::isfinite(numbers[r]);
      decimals = std::max(decimals, decimalsOf(f));
      if (!numeric && mustBeNumbers)
        throw std::runtime_error(t.file + ":" + std::to_string(t.lines[r]) + ": " + t.header[c] + " \"" + f +
                                 "\" is not a number");
    }
    std::vector<std::string> words;
    double step = 1;
    if (numeric) {
      // Finer than 1e-300 the step would leave the normal numbers, and at 1e-324 become 0.
      step = reportStep(t.header[c], std::pow(10.0, -std::min(decimals, 300)));
      columns.push_back({{"name", t.header[c]}, {"step", step}});
    } else {
      std::map<std::string, double> codes;
      for (size_t r = 0; r < t.rows.size(); ++r) {
        const std::string &f = t.rows[r][c];
        if (!codes.count(f)) {
          codes[f] = static_cast<double>(words.size());
          words.push_back(f);
        }
        numbers[r] = codes[f];
      }
      columns.push_back({{"name", t.header[c]}, {"words", words}});
    }
    for (size_t v = 0; v < names.size(); ++v) {
      std::vector<double> column;
      for (size_t r : rowsOf[names[v]]) column.push_back(numbers[r]);
      vessels[v]["columns"].push_back(encodeColumn(column, step));
    }
  }
  return {{"columns", columns}, {"vessels", vessels}};
}

}  // namespace runner
}  // namespace sim
