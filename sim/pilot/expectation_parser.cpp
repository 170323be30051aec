// Reading an "expect" line: what the flight must have come to by its end.
//
//   expect NAME QUANTITY > VALUE                  (or <; the quantities of "when")
//   expect NAME status flight|landed|crashed
//   expect event NAME KIND ["DETAIL"] [at T | after LABEL [by T]] [within TOL] [as LABEL]
#include "sim/pilot/line_reading.h"

namespace sim {
namespace pilot {
namespace {

const char *const kStatusWords[] = {"flight", "landed", "crashed"};

template <size_t N>
std::string oneOf(const char *const (&table)[N], const std::string &word, const char *what) {
  std::string known;
  for (const char *name : table) {
    if (lower(word) == name) return name;
    known += std::string(known.empty() ? "" : ", ") + name;
  }
  throw LineError("unknown " + std::string(what) + " \"" + word + "\" (one of " + known + ")");
}

// What the host and the runner record; a kind not among them is a typing mistake.
EventKind eventKindOf(const std::string &word) {
  EventKind kind;
  if (eventKindByName(lower(word), kind)) return kind;
  std::string known;
  for (int k = 0; k <= static_cast<int>(EventKind::end); ++k)
    known += std::string(k ? ", " : "") + eventKindName(static_cast<EventKind>(k));
  throw LineError("unknown event kind \"" + word + "\" (one of " + known + ")");
}

// The nearest event expectation above that goes by this label.
int earlierEvent(const std::string &label, const std::vector<Expectation> &earlier) {
  for (int i = static_cast<int>(earlier.size()) - 1; i >= 0; --i)
    if (earlier[i].kind == Expectation::Kind::event && earlier[i].label == label) return i;
  throw LineError("after " + label + ": no \"expect event\" line above goes by that name (its vessel or its \"as\")");
}

void setTiming(Expectation &e, Expectation::Timing timing, double time) {
  if (e.timing != Expectation::Timing::any) throw LineError("one of \"at\" or \"by\" only");
  e.timing = timing;
  e.time = time;
}

Expectation eventExpectation(Words &w, const std::vector<Expectation> &earlier) {
  Expectation e;
  e.kind = Expectation::Kind::event;
  e.vessel = w.take("a vessel name");
  e.eventKind = eventKindOf(w.take("an event kind"));
  if (w.nextIsQuoted()) e.detailPrefix = w.take("a detail");
  e.label = e.vessel;
  bool tolerance = false;
  while (!w.done()) {
    if (w.accept("at")) {
      setTiming(e, Expectation::Timing::at, w.number("time"));
    } else if (w.accept("by")) {
      setTiming(e, Expectation::Timing::by, w.number("seconds after", 0, 1e9));
    } else if (w.accept("after")) {
      e.after = earlierEvent(w.take("a label"), earlier);
    } else if (w.accept("within")) {
      e.tolerance = w.number("tolerance", 0, 1e9);
      tolerance = true;
    } else if (w.accept("as")) {
      e.label = w.take("a label");
    } else {
      throw LineError("expected at, after, by, within or as, found \"" + w.take("a word") + "\"");
    }
  }
  if (e.timing == Expectation::Timing::by && e.after < 0) throw LineError("\"by\" needs \"after\": after which event");
  if (e.timing == Expectation::Timing::at && e.after >= 0) throw LineError("\"at\" and \"after\" exclude each other");
  if (tolerance && e.timing == Expectation::Timing::any) throw LineError("\"within\" needs \"at\" or \"by\"");
  return e;
}

}  // namespace

Expectation readExpectation(Words &w, const std::vector<Expectation> &earlier) {
  if (w.accept("event")) return eventExpectation(w, earlier);
  Expectation e;
  e.vessel = w.take("a vessel name");
  if (w.accept("status")) {
    e.kind = Expectation::Kind::status;
    e.status = oneOf(kStatusWords, w.take("a status"), "status");
  } else {
    e.kind = Expectation::Kind::reading;
    e.reading = readComparison(w);
  }
  return e;
}

}  // namespace pilot
}  // namespace sim
