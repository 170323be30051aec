// Reading a pilot program: one rule or setting per line, '#' starting a
// comment. A line that cannot be read is reported and left out; reading goes
// on so that every problem is reported at once.
#include <cmath>
#include <fstream>
#include <sstream>

#include "sim/pilot/line_reading.h"

namespace sim {
namespace pilot {
namespace {

constexpr double kRadPerDeg = M_PI / 180;  // [rad/deg]

const Named kQuantities[] = {{"altitude", int(Quantity::altitude)},
                             {"speed", int(Quantity::speed)},
                             {"airspeed", int(Quantity::airspeed)},
                             {"apoapsis", int(Quantity::apoapsis)},
                             {"periapsis", int(Quantity::periapsis)},
                             {"mass", int(Quantity::mass)},
                             {"tank", int(Quantity::tank)},
                             {"inclination", int(Quantity::inclination)},
                             {"eccentricity", int(Quantity::eccentricity)}};

const Named kInputs[] = {{"pitchup", THGROUP_ATT_PITCHUP},   {"pitchdown", THGROUP_ATT_PITCHDOWN},
                         {"yawleft", THGROUP_ATT_YAWLEFT},   {"yawright", THGROUP_ATT_YAWRIGHT},
                         {"bankleft", THGROUP_ATT_BANKLEFT}, {"bankright", THGROUP_ATT_BANKRIGHT}};

const Named kGroups[] = {{"main", THGROUP_MAIN}, {"retro", THGROUP_RETRO}, {"hover", THGROUP_HOVER}};

const Named kAxes[] = {{"pitch", kPitch}, {"yaw", kYaw}, {"bank", kBank}};

const Named kRcsModes[] = {{"rot", RCS_ROT}, {"lin", RCS_LIN}, {"off", RCS_NONE}};

}  // namespace

Condition readComparison(Words &w) {
  Condition c;
  c.kind = Condition::Kind::compare;
  c.quantity = Quantity(lookUp(kQuantities, w.take("a quantity"), "quantity"));
  if (c.quantity == Quantity::tank) {
    const double index = w.number("tank index", 0, 1000);
    if (index != std::floor(index)) throw LineError("a tank index is a whole number");
    c.tank = static_cast<int>(index);
  }
  const std::string op = w.take("'>' or '<'");
  if (op != ">" && op != "<") throw LineError("expected '>' or '<', found \"" + op + "\"");
  c.above = op == ">";
  c.threshold = w.number("value");
  return c;
}

namespace {

Condition condition(Words &w) {
  if (!w.accept("exists")) return readComparison(w);
  Condition c;
  c.kind = Condition::Kind::exists;
  c.vessel = w.take("a vessel name");
  return c;
}

// "X:PITCH" points of a pitch program, x ascending.
std::vector<std::pair<double, double>> points(Words &w) {
  std::vector<std::pair<double, double>> out;
  while (!w.done()) {
    const std::string p = w.take("a point");
    const size_t colon = p.find(':');
    double x, pitch;
    if (colon == std::string::npos || !toNumber(p.substr(0, colon), x) || !toNumber(p.substr(colon + 1), pitch))
      throw LineError("a pitch program point is X:PITCH, got \"" + p + "\"");
    if (pitch < -90 || pitch > 90) throw LineError("pitch must be between -90 and 90 degrees, got \"" + p + "\"");
    if (!out.empty() && x <= out.back().first) throw LineError("pitch program points must ascend, got \"" + p + "\"");
    out.push_back({x, pitch * kRadPerDeg});
  }
  if (out.empty()) throw LineError("a pitch program needs at least one X:PITCH point");
  return out;
}

struct Context {
  std::string vessel;
  HoldSettings hold;
};

Action steer(Words &w, const Context &ctx) {
  Action a;
  if (w.accept("off")) {
    a.kind = Action::Kind::steerOff;
    return a;
  }
  a.kind = Action::Kind::steer;
  w.expect("heading");
  a.steering.heading = w.number("heading", -360, 360) * kRadPerDeg;
  a.steering.hold = ctx.hold;
  if (w.accept("prograde")) {
    a.steering.pitch.source = PitchProgram::Source::prograde;
    return a;
  }
  w.expect("pitch");
  if (w.accept("time")) {
    a.steering.pitch = {PitchProgram::Source::time, points(w)};
  } else if (w.accept("altitude")) {
    a.steering.pitch = {PitchProgram::Source::altitude, points(w)};
  } else {
    a.steering.pitch = {PitchProgram::Source::fixed, {{0, w.number("pitch", -90, 90) * kRadPerDeg}}};
  }
  return a;
}

Action key(Words &w) {
  Action a;
  a.kind = Action::Kind::key;
  std::string text = w.take("a key");
  // Modifiers first, joined by '+': shift+J, rctrl+B.
  const Named modifiers[] = {{"shift", OAPI_KEY_LSHIFT},  {"lshift", OAPI_KEY_LSHIFT},  {"rshift", OAPI_KEY_RSHIFT},
                             {"ctrl", OAPI_KEY_LCONTROL}, {"lctrl", OAPI_KEY_LCONTROL}, {"rctrl", OAPI_KEY_RCONTROL}};
  for (size_t plus; (plus = text.find('+')) != std::string::npos && plus + 1 < text.size();) {
    a.held.push_back(static_cast<DWORD>(lookUp(modifiers, text.substr(0, plus), "modifier")));
    text = text.substr(plus + 1);
  }
  if (!keyCode(text, a.key)) throw LineError("unknown key \"" + text + "\"");
  return a;
}

Action input(Words &w) {
  Action a;
  a.kind = Action::Kind::input;
  if (w.accept("none")) return a;
  do {
    const THGROUP_TYPE type = THGROUP_TYPE(lookUp(kInputs, w.take("an attitude input"), "attitude input"));
    a.inputs.push_back({type, w.number("input level", 0, 1)});
  } while (!w.done());
  return a;
}

Action action(Words &w, const Context &ctx) {
  const std::string verb = lower(w.take("an action"));
  Action a;
  if (verb == "key") return key(w);
  if (verb == "input") return input(w);
  if (verb == "steer") return steer(w, ctx);
  if (verb == "throttle") {
    a.kind = Action::Kind::throttle;
    a.group = THGROUP_TYPE(lookUp(kGroups, w.take("a thruster group"), "thruster group"));
    a.level = w.number("throttle level", 0, 1);
  } else if (verb == "rcs") {
    a.kind = Action::Kind::rcs;
    a.rcsMode = lookUp(kRcsModes, w.take("an RCS mode"), "RCS mode");
  } else if (verb == "timewarp") {
    a.kind = Action::Kind::timeWarp;
    a.factor = w.number("time acceleration", 0.1, kMaxTimeAcceleration);
  } else if (verb == "end") {
    a.kind = Action::Kind::end;
  } else {
    throw LineError("unknown action \"" + verb + "\" (key, input, steer, throttle, rcs, timewarp or end)");
  }
  return a;
}

class Parser {
 public:
  Parser(const std::string &file, std::vector<std::string> &errors) : file_(file), errors_(errors) {}

  void line(const std::string &raw, int number) {
    const std::string text = trim(raw.substr(0, raw.find('#')));
    if (text.empty()) return;
    try {
      Words w(text);
      const std::string first = lower(w.take("a word"));
      if (first == "vessel") {
        ctx_.vessel = w.take("a vessel name");
      } else if (first == "gains") {
        readGains(w);
      } else if (first == "actuator") {
        readActuator(w);
      } else if (first == "expect") {
        expect(w, text, number);
        return;
      } else {
        rule(first, w, text, number);
        return;
      }
      w.end();
    } catch (const LineError &e) {
      errors_.push_back(file_ + ":" + std::to_string(number) + ": " + e.what());
    }
  }

  Program program;

 private:
  const std::string &file_;
  std::vector<std::string> &errors_;
  Context ctx_;

  void rule(const std::string &trigger, Words &w, const std::string &text, int number) {
    Rule r;
    r.line = number;
    r.text = text;
    r.vessel = ctx_.vessel;
    if (trigger == "at") {
      r.condition.kind = Condition::Kind::time;
      r.condition.time = w.number("time");
    } else if (trigger == "when" || trigger == "whenever") {
      r.repeat = trigger == "whenever";
      r.condition = condition(w);
    } else {
      throw LineError("a line begins with at, when, whenever, vessel, gains, actuator or expect, not \"" + trigger +
                      "\"");
    }
    r.action = action(w, ctx_);
    w.end();
    program.rules.push_back(r);
  }

  void expect(Words &w, const std::string &text, int number) {
    Expectation e = readExpectation(w, program.expectations);
    w.end();
    e.line = number;
    e.text = text;
    program.expectations.push_back(e);
  }

  // "gains KP KD" for every axis, or "gains AXIS KP KD".
  void readGains(Words &w) {
    int first = kPitch, last = kBank;
    if (w.left() == 3) first = last = lookUp(kAxes, w.take("an axis"), "axis");
    const double kp = w.number("kp", 0, 1e6), kd = w.number("kd", 0, 1e6);
    for (int axis = first; axis <= last; ++axis) ctx_.hold.gains[axis] = {kp, kd};
  }

  // Read whole before it takes effect, so a bad line changes nothing.
  void readActuator(Words &w) {
    HoldSettings hold = ctx_.hold;
    hold.exponent = w.number("exponent", 0.25, 8);
    for (double &full : hold.fullDeflection) full = w.number("full deflection", 1e-9, 1e9);
    ctx_.hold = hold;
  }
};

}  // namespace

bool Program::hasEnd() const {
  for (const Rule &r : rules)
    if (r.action.kind == Action::Kind::end) return true;
  return false;
}

Program parseProgram(const std::string &file, const std::string &text, std::vector<std::string> &errors) {
  Parser p(file, errors);
  p.program.file = file;
  std::istringstream in(text);
  int number = 0;
  for (std::string raw; std::getline(in, raw);) p.line(raw, ++number);
  return p.program;
}

Program readProgram(const std::string &path, std::vector<std::string> &errors) {
  std::ifstream in(path);
  if (!in) {
    errors.push_back(path + ": cannot open the pilot program");
    return Program{path, {}, {}};
  }
  std::ostringstream text;
  text << in.rdbuf();
  return parseProgram(path, text.str(), errors);
}

}  // namespace pilot
}  // namespace sim
