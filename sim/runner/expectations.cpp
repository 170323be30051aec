#include "sim/runner/expectations.h"

#include <cmath>
#include <cstdio>

#include "sim/pilot/clock.h"
#include "sim/pilot/pilot.h"
#include "sim/runner/record/vessel_report.h"

namespace sim {
namespace runner {
namespace {

using pilot::Expectation;

// By pilot::Quantity: how a reading is shown, with its unit.
const char *const kReadings[] = {"%.1f m",  "%.1f m/s", "%.1f m/s", "%.1f m", "%.1f m",
                                 "%.1f kg", "%.1f kg",  "%.3f deg", "%.5f"};

std::string format(const char *pattern, double a, double b = 0) {
  char text[96];
  std::snprintf(text, sizeof text, pattern, a, b);
  return text;
}

// NaN, a constant, marks a result that has no event time; it is only ever tested with isnan.
ExpectationResult failed(const std::string &why) { return {false, why, NAN}; }

ExpectationResult reading(const Vessel &v, const Expectation &e, const World &w) {
  const double x = pilot::instrumentReading(v, w.planet, w.planetPose(), e.reading);
  const bool met = pilot::beyondThreshold(x, e.reading);
  return {met, "reads " + format(kReadings[static_cast<int>(e.reading.quantity)], x), NAN};
}

// The first event that fits, at or after `from` [s].
const Event *firstEvent(const World &w, const Expectation &e, double from) {
  for (const Event &ev : w.record().events())
    if (ev.vessel == e.vessel && ev.kind == e.eventKind && ev.detail.rfind(e.detailPrefix, 0) == 0 &&
        pilot::timeReached(ev.t, from))
      return &ev;
  return nullptr;
}

// `earlier` are the expectations above e, `before` their results.
ExpectationResult event(const World &w, const Expectation &e, const std::vector<Expectation> &earlier,
                        const std::vector<ExpectationResult> &before) {
  double from = -HUGE_VAL, since = 0;  // [s]; from the beginning (a constant: no fault is raised)
  const std::string afterLine = e.after >= 0 ? " line " + std::to_string(earlier[e.after].line) : "";
  if (e.after >= 0) {
    since = from = before[e.after].eventTime;
    if (std::isnan(from)) return failed("the event of" + afterLine + " did not come");
  }
  const Event *ev = firstEvent(w, e, from);
  if (!ev) return failed("did not come");
  ExpectationResult r{true, format("came at %.3f s", ev->t), ev->t};
  if (e.after >= 0) r.found += format(", %.3f s after that of", ev->t - since) + afterLine;
  if (e.timing == Expectation::Timing::at) r.met = std::fabs(ev->t - e.time) <= e.tolerance;
  if (e.timing == Expectation::Timing::by) r.met = std::fabs(ev->t - since - e.time) <= e.tolerance;
  return r;
}

}  // namespace

std::vector<ExpectationResult> checkExpectations(const World &w, const std::vector<Expectation> &expectations) {
  std::vector<ExpectationResult> results;
  for (const Expectation &e : expectations) {
    if (e.kind == Expectation::Kind::event) {
      results.push_back(event(w, e, expectations, results));
      continue;
    }
    const Vessel *v = w.find(e.vessel);
    if (!v)
      results.push_back(failed("no vessel of that name at the end"));
    else if (e.kind == Expectation::Kind::status)
      results.push_back({e.status == statusWord(*v), std::string("is ") + statusWord(*v), NAN});
    else
      results.push_back(reading(*v, e, w));
  }
  return results;
}

bool reportExpectations(const std::vector<Expectation> &expectations, const std::vector<ExpectationResult> &results,
                        std::ostream &out) {
  if (expectations.empty()) {
    out << "expectations: none\n";
    return true;
  }
  size_t met = 0;
  for (size_t i = 0; i < expectations.size(); ++i) {
    met += results[i].met;
    out << (results[i].met ? "  met     line " : "  FAILED  line ") << expectations[i].line << ": "
        << expectations[i].text << ": " << results[i].found << '\n';
  }
  out << "expectations: " << met << " of " << expectations.size() << " met\n";
  return met == expectations.size();
}

}  // namespace runner
}  // namespace sim
