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
ExpectationResult notReached(const std::string &why) { return {false, why, NAN, false}; }

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

// The latest time at which an event that did not come would still have met
// e [s]: without a timing, any time (a constant: no fault is raised).
double dueBy(const Expectation &e, double since) {
  if (e.timing == Expectation::Timing::at) return e.time + e.tolerance;
  if (e.timing == Expectation::Timing::by) return since + e.time + e.tolerance;
  return HUGE_VAL;
}

// `earlier` are the expectations above e, `before` their results; an event
// still due when a flight cut short stopped at `stop` [s] is not reached.
ExpectationResult event(const World &w, const Expectation &e, const std::vector<Expectation> &earlier,
                        const std::vector<ExpectationResult> &before, double stop) {
  double from = -HUGE_VAL, since = 0;  // [s]; from the beginning (a constant: no fault is raised)
  const std::string afterLine = e.after >= 0 ? " line " + std::to_string(earlier[e.after].line) : "";
  if (e.after >= 0) {
    since = from = before[e.after].eventTime;
    if (std::isnan(from))
      return before[e.after].reached ? failed("the event of" + afterLine + " did not come")
                                     : notReached("the event of" + afterLine + " was not reached");
  }
  const Event *ev = firstEvent(w, e, from);
  if (!ev) return dueBy(e, since) > stop ? notReached("had not come by the stop") : failed("did not come");
  ExpectationResult r{true, format("came at %.3f s", ev->t), ev->t};
  if (e.after >= 0) r.found += format(", %.3f s after that of", ev->t - since) + afterLine;
  if (e.timing == Expectation::Timing::at) r.met = std::fabs(ev->t - e.time) <= e.tolerance;
  if (e.timing == Expectation::Timing::by) r.met = std::fabs(ev->t - since - e.time) <= e.tolerance;
  return r;
}

}  // namespace

std::vector<ExpectationResult> checkExpectations(const World &w, const std::vector<Expectation> &expectations,
                                                 bool cutShort) {
  const double stop = cutShort ? w.flightTime() : HUGE_VAL;  // [s]; a constant: no fault is raised
  std::vector<ExpectationResult> results;
  for (const Expectation &e : expectations) {
    if (e.kind == Expectation::Kind::event) {
      results.push_back(event(w, e, expectations, results, stop));
      continue;
    }
    const Vessel *v = w.find(e.vessel);
    if (cutShort)  // what the flight comes to is read at its end, which it did not reach
      results.push_back(notReached(format("read at the flight's end, not at the stop at %.2f s", w.flightTime())));
    else if (!v)
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
  size_t met = 0, unreached = 0;
  std::string lines;  // of those not reached
  for (size_t i = 0; i < expectations.size(); ++i) {
    met += results[i].met;
    if (!results[i].reached) lines += (unreached++ ? ", " : "") + std::to_string(expectations[i].line);
    out << (results[i].met       ? "  met     line "
            : results[i].reached ? "  FAILED  line "
                                 : "  not reached  line ")
        << expectations[i].line << ": " << expectations[i].text << ": " << results[i].found << '\n';
  }
  out << "expectations: " << met << " of " << expectations.size() << " met";
  if (unreached) out << ", " << unreached << " not reached (line" << (unreached > 1 ? "s " : " ") << lines << ")";
  out << '\n';
  return met + unreached == expectations.size();
}

}  // namespace runner
}  // namespace sim
