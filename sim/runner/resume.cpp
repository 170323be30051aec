#include "sim/runner/resume.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "sim/formats/text.h"
#include "sim/runner/report/csv_table.h"

namespace fs = std::filesystem;

namespace sim {
namespace runner {

const char kStateFile[] = "flight.state";
const char kPilotFile[] = "flight.pilot";

namespace {

// As it is; or, as text, with the line ends the system writes made '\n',
// as a text stream writes them back.
std::string readWhole(const std::string &path, bool asText = false) {
  std::ifstream in(path, asText ? std::ios::in : std::ios::in | std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream whole;
  whole << in.rdbuf();
  return whole.str();
}

void writeWhole(const std::string &path, const std::string &text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

// The state file's lines, each a key and its words.
class StateReader {
 public:
  explicit StateReader(const std::string &path) : path_(path), text_(readWhole(path)) {}

  bool next(std::string &key) {
    std::string line;
    while (std::getline(text_, line)) {
      ++line_;
      words_ = words(line);
      if (words_.empty() || words_[0][0] == '#') continue;
      key = words_[0];
      return true;
    }
    return false;
  }
  size_t count() const { return words_.size() - 1; }  // after the key
  const std::string &word(size_t i) const { return words_.at(i + 1); }
  double number(size_t i) const {
    double x;
    if (i >= count() || !toNumber(word(i), x)) fail("a number is missing or does not read");
    return x;
  }
  [[noreturn]] void fail(const std::string &what) const {
    throw std::runtime_error(path_ + ":" + std::to_string(line_) + ": " + what);
  }

 private:
  std::string path_;
  std::istringstream text_;
  std::vector<std::string> words_;
  int line_ = 0;
};

std::vector<Event> eventsOf(const std::string &path) {
  const CsvTable t = readCsv(path, path);
  const size_t time = t.column("t_s"), vessel = t.column("vessel"), kind = t.column("kind"),
               detail = t.column("detail");
  std::vector<Event> events;
  for (size_t r = 0; r < t.rows.size(); ++r) {
    Event e;
    e.vessel = t.rows[r][vessel];
    e.detail = t.rows[r][detail];
    if (!toNumber(t.rows[r][time], e.t) || !eventKindByName(t.rows[r][kind], e.kind))
      throw std::runtime_error(path + ":" + std::to_string(t.lines[r]) + ": not an event of the record");
    if (e.kind != EventKind::end) events.push_back(e);  // where it stopped, the flight goes on
  }
  return events;
}

}  // namespace

void writeFlightState(const std::string &dir, const World &w, double sample, const pilot::Pilot *pilot,
                      const std::string &pilotPath) {
  const Carried c = carriedFrom(w);
  std::string s = "# The flight's state outside final.scn, for varnell fly --resume " + dir + "\n";
  s += "flight_time " + exactNumber(c.flightTime) + "\nstart_mjd " + exactNumber(c.mjd) + "\ndt " + exactNumber(c.dt) +
       "\nsample " + exactNumber(sample) + "\ntime_acceleration " + exactNumber(c.timeAcceleration) + "\ninput";
  for (double level : c.input) s += " " + exactNumber(level);
  s += "\n";
  if (pilot) {
    writeWhole((fs::path(dir) / kPilotFile).string(), readWhole(pilotPath));
    s += "pilot_file " + pilot->program().file + "\n";
    const pilot::Pilot::Progress p = pilot->progress();
    for (size_t i = 0; i < p.rules.size(); ++i)
      s += "rule " + std::to_string(pilot->program().rules[i].line) + (p.rules[i].fired ? " fired" : " waiting") +
           (p.rules[i].armed ? " armed\n" : " disarmed\n");
    if (p.steerRule >= 0)
      s += "steering " + std::to_string(p.steerRule) + " " + exactNumber(p.steerSince) + " " + p.steerVessel + "\n";
  }
  writeWhole((fs::path(dir) / kStateFile).string(), s);
}

Resumed readFlightState(const std::string &dir) {
  Resumed r;
  r.scenario = (fs::path(dir) / "final.scn").string();
  const std::string pilot = (fs::path(dir) / kPilotFile).string();
  if (fs::exists(pilot)) r.pilot = pilot;
  StateReader in((fs::path(dir) / kStateFile).string());
  bool timed = false, dated = false;
  for (std::string key; in.next(key);) {
    if (key == "flight_time") {
      r.carried.flightTime = in.number(0);
      timed = true;
    } else if (key == "start_mjd") {
      r.carried.mjd = in.number(0);
      dated = true;
    } else if (key == "dt") {
      r.carried.dt = in.number(0);
    } else if (key == "sample") {
      r.sample = in.number(0);
    } else if (key == "time_acceleration") {
      r.carried.timeAcceleration = in.number(0);
    } else if (key == "input") {
      for (size_t i = 0; i < 15; ++i) r.carried.input[i] = in.number(i);
    } else if (key == "pilot_file") {
      for (size_t i = 0; i < in.count(); ++i) r.pilotName += (i ? " " : "") + in.word(i);
    } else if (key == "rule") {
      if (in.count() != 3) in.fail("a rule's line reads LINE fired|waiting armed|disarmed");
      r.progress.rules.push_back({in.word(1) == "fired", in.word(2) == "armed"});
    } else if (key == "steering") {
      if (in.count() < 3) in.fail("steering reads RULE SINCE VESSEL");
      r.progress.steerRule = static_cast<int>(in.number(0));
      r.progress.steerSince = in.number(1);
      r.progress.steerVessel = in.word(2);
    } else {
      in.fail("\"" + key + "\" is no key of the flight's state");
    }
  }
  if (!timed || !dated) in.fail("the flight's time (flight_time) or its date (start_mjd) is missing");
  r.carried.events = eventsOf((fs::path(dir) / "events.csv").string());
  const std::string telemetry = readWhole((fs::path(dir) / "telemetry.csv").string(), true);
  const size_t header = telemetry.find('\n');
  r.telemetryRows = header == std::string::npos ? "" : telemetry.substr(header + 1);
  return r;
}

}  // namespace runner
}  // namespace sim
