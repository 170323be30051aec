#include "sim/formats/scenario_file.h"

#include <fstream>
#include <sstream>

#include "sim/formats/text.h"

namespace sim {
namespace {

class Parser {
 public:
  Parser(const std::string &path, Log &log, ScenarioData &out) : path_(path), log_(log), out_(out) {}

  void read(std::istream &in) {
    int n = 0;
    for (std::string raw; std::getline(in, raw);) {
      ++n;
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      // Modules get their lines as C text and the writer puts names out as C
      // text, so nothing after a NUL byte can be seen consistently.
      if (const size_t nul = raw.find('\0'); nul != std::string::npos) {
        log_.error("line holds a NUL byte, cut there", path_, n);
        raw.resize(nul);
      }
      if (raw.size() > kMaxScenarioLine) {
        log_.error("line longer than " + std::to_string(kMaxScenarioLine) + " characters, cut there", path_, n);
        raw.resize(kMaxScenarioLine);
      }
      lines_.push_back({n, raw});
    }
  }

  void parse() {
    while (next_ < lines_.size()) {
      const ScenarioLine &l = lines_[next_++];
      const std::string key = lower(firstWord(l.text));
      if (key == "begin_desc")
        description();
      else if (key == "begin_environment")
        environment();
      else if (key == "begin_focus")
        focus();
      else if (key == "begin_ships")
        ships(l.number);
      else if (key.rfind("begin_", 0) == 0)
        skipBlock("END_" + firstWord(l.text).substr(6), l.number);
    }
    if (!out_.dated) log_.warning("no Date in BEGIN_ENVIRONMENT: the scenario starts at MJD 51544.5", path_);
  }

 private:
  const std::string &path_;
  Log &log_;
  ScenarioData &out_;
  std::vector<ScenarioLine> lines_;
  size_t next_ = 0;

  static std::string firstWord(const std::string &text) {
    const std::vector<std::string> w = words(withoutComment(text));
    return w.empty() ? "" : w[0];
  }

  static std::string rest(const std::string &text) {
    const std::string t = trim(withoutComment(text));
    const size_t gap = t.find_first_of(" \t");
    return gap == std::string::npos ? "" : trim(t.substr(gap));
  }

  bool atKey(const std::string &key) const { return lower(firstWord(lines_[next_].text)) == lower(key); }

  // Walks the lines of a block up to its end key, calling f for each; an
  // unclosed block is reported at its start.
  template <typename F>
  void block(const std::string &endKey, int start, F f) {
    for (; next_ < lines_.size(); ++next_) {
      if (atKey(endKey)) {
        ++next_;
        return;
      }
      f(lines_[next_]);
    }
    log_.error("block has no " + endKey, path_, start);
  }

  void skipBlock(const std::string &endKey, int start) {
    block(endKey, start, [](const ScenarioLine &) {});
  }

  void description() {
    std::string text;
    block("END_DESC", lines_[next_ - 1].number, [&text](const ScenarioLine &l) { text += trim(l.text) + "\n"; });
    out_.description = trim(text);
  }

  void environment() {
    block("END_ENVIRONMENT", lines_[next_ - 1].number, [this](const ScenarioLine &l) {
      const std::string key = lower(firstWord(l.text));
      if (key == "system") out_.system = rest(l.text);
      if (key == "date") date(l);
    });
  }

  // "Date MJD x", "Date JD x" (Julian date) or "Date JE x" (Julian epoch, in years).
  void date(const ScenarioLine &l) {
    const std::vector<std::string> w = words(withoutComment(l.text));
    const std::string kind = w.size() == 3 ? lower(w[1]) : "";
    double x = 0;
    if ((kind == "mjd" || kind == "jd" || kind == "je") && toNumber(w[2], x)) {
      out_.mjd = kind == "mjd" ? x : kind == "jd" ? x - 2400000.5 : 51544.5 + (x - 2000) * 365.25;
      out_.dated = true;
    } else {
      log_.error("expected \"Date MJD <days>\", \"Date JD <days>\" or \"Date JE <years>\"; date ignored", path_,
                 l.number);
    }
  }

  void focus() {
    block("END_FOCUS", lines_[next_ - 1].number, [this](const ScenarioLine &l) {
      if (lower(firstWord(l.text)) == "ship") out_.focus = rest(l.text);
    });
  }

  // "Name:Class": one word, a colon with text on both sides.
  static bool isVesselHeader(const std::string &t) {
    const size_t colon = t.find(':');
    return colon != std::string::npos && colon > 0 && colon + 1 < t.size() &&
           t.find_first_of(" \t") == std::string::npos;
  }

  void ships(int start) {
    while (next_ < lines_.size()) {
      const ScenarioLine &l = lines_[next_++];
      const std::string t = trim(withoutComment(l.text));
      if (t.empty()) continue;
      if (lower(t) == "end_ships") return;
      if (isVesselHeader(t))
        vessel(t, l.number);
      else
        log_.error("expected a vessel as \"Name:Class\", line skipped", path_, l.number);
    }
    log_.error("BEGIN_SHIPS has no END_SHIPS", path_, start);
  }

  // A block without END ends where the next vessel, END_SHIPS or the file begins.
  void vessel(const std::string &header, int number) {
    const size_t colon = header.find(':');
    VesselBlock b{header.substr(0, colon), header.substr(colon + 1), number, {}};
    for (; next_ < lines_.size(); ++next_) {
      const std::string t = trim(withoutComment(lines_[next_].text));
      if (lower(t) == "end") {
        ++next_;
        out_.vessels.push_back(b);
        return;
      }
      if (lower(t) == "end_ships" || isVesselHeader(t)) break;
      if (!t.empty()) b.lines.push_back({lines_[next_].number, t});
    }
    log_.error("vessel " + b.name + " has no END; its lines end before line " +
                   std::to_string(next_ < lines_.size() ? lines_[next_].number : lines_.back().number + 1),
               path_, number);
    out_.vessels.push_back(b);
  }
};

}  // namespace

bool parseScenario(const std::string &path, Log &log, ScenarioData &out) {
  std::ifstream in(path);
  if (!in) {
    log.error("cannot open the scenario", path);
    return false;
  }
  Parser p(path, log, out);
  p.read(in);
  p.parse();
  return true;
}

void parseScenarioText(const std::string &name, const std::string &text, Log &log, ScenarioData &out) {
  std::istringstream in(text);
  Parser p(name, log, out);
  p.read(in);
  p.parse();
}

}  // namespace sim
