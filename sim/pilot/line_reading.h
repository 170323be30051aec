// What the readers of a pilot program's lines share: the words of one line,
// taken from the front, names looked up in tables, and instrument comparisons.
// A problem with a line is thrown as a LineError, which the program reader
// reports with the file and line number.
#pragma once

#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/formats/text.h"
#include "sim/pilot/program.h"

namespace sim {
namespace pilot {

struct LineError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Named {
  const char *name;
  int value;
};

template <size_t N>
int lookUp(const Named (&table)[N], const std::string &word, const char *what) {
  for (const Named &n : table)
    if (lower(word) == n.name) return n.value;
  std::string known;
  for (const Named &n : table) known += std::string(known.empty() ? "" : ", ") + n.name;
  throw LineError("unknown " + std::string(what) + " \"" + word + "\" (one of " + known + ")");
}

// The words of one line, separated by blanks; text in double quotes is one
// word, quotes removed, and is never taken for a keyword.
class Words {
 public:
  explicit Words(const std::string &text) {
    for (size_t i = 0; i < text.size();) {
      if (text[i] == ' ' || text[i] == '\t') {
        ++i;
      } else if (text[i] == '"') {
        const size_t close = text.find('"', i + 1);
        if (close == std::string::npos) throw LineError("a quoted text is not closed");
        words_.push_back({text.substr(i + 1, close - i - 1), true});
        i = close + 1;
      } else {
        const size_t stop = std::min(text.find_first_of(" \t\"", i), text.size());
        words_.push_back({text.substr(i, stop - i), false});
        i = stop;
      }
    }
  }
  bool done() const { return next_ == words_.size(); }
  size_t left() const { return words_.size() - next_; }
  bool nextIsQuoted() const { return !done() && words_[next_].quoted; }
  std::string take(const char *what) {
    if (done()) throw LineError(std::string("missing ") + what);
    return words_[next_++].text;
  }
  void expect(const char *word) {
    const std::string w = take(word);
    if (lower(w) != word) throw LineError("expected \"" + std::string(word) + "\", found \"" + w + "\"");
  }
  bool accept(const char *word) {
    if (done() || words_[next_].quoted || lower(words_[next_].text) != word) return false;
    ++next_;
    return true;
  }
  double number(const char *what) {
    const std::string w = take(what);
    double x;
    if (!toNumber(w, x) || !std::isfinite(x)) throw LineError(std::string(what) + ": \"" + w + "\" is not a number");
    return x;
  }
  double number(const char *what, double lo, double hi) {
    const double x = number(what);
    if (x < lo || x > hi) {
      std::ostringstream s;
      s << what << " must be between " << lo << " and " << hi << ", got " << x;
      throw LineError(s.str());
    }
    return x;
  }
  void end() {
    if (!done()) throw LineError("unexpected \"" + words_[next_].text + "\" at the end of the line");
  }

 private:
  struct Word {
    std::string text;
    bool quoted;
  };
  std::vector<Word> words_;
  size_t next_ = 0;
};

// "QUANTITY > VALUE" or "QUANTITY < VALUE", with "tank I" as a quantity.
Condition readComparison(Words &w);

// The rest of an "expect" line; earlier ones are those above it, which an
// "after" clause may name.
Expectation readExpectation(Words &w, const std::vector<Expectation> &earlier);

}  // namespace pilot
}  // namespace sim
