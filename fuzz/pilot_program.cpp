// Fuzzes the pilot-program reader, then flies what it read for a short while:
// two vessels, one on the ground and one in orbit, under the rules that could
// be read. Every problem the reader reports must name a line of the input.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_tree.h"
#include "sim/pilot/pilot.h"
#include "sim/world/world.h"

namespace {

const char *const kFile = "fuzz.pilot";
const int kSteps = 50;  // one second at the default step: enough for "at 0" rules and steering

int lineCount(const std::string &text) {
  int n = 1;
  for (char c : text) n += c == '\n';
  return n;
}

// "FILE:LINE: message", with LINE one of the input's lines.
bool namesALine(const std::string &error, int lines) {
  const std::string prefix = std::string(kFile) + ":";
  if (error.compare(0, prefix.size(), prefix) != 0) return false;
  size_t end = prefix.size();
  while (end < error.size() && std::isdigit(static_cast<unsigned char>(error[end]))) ++end;
  if (end == prefix.size() || end - prefix.size() > 9 || error.compare(end, 2, ": ") != 0) return false;
  const int line = std::stoi(error.substr(prefix.size(), end - prefix.size()));
  return line >= 1 && line <= lines;
}

VESSELSTATUS inOrbit() {
  VESSELSTATUS s{};
  s.rpos = _V(6.8e6, 0, 0);    // [m]
  s.rvel = _V(0, 1e3, 7.5e3);  // [m/s]
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string text(reinterpret_cast<const char *>(data), size);
  std::vector<std::string> errors;
  sim::pilot::Program program = sim::pilot::parseProgram(kFile, text, errors);

  sim::World w(fuzz::Tree::get().dir(), "");
  const int lines = lineCount(text);
  for (const std::string &e : errors)
    fuzz::require(namesALine(e, lines), ("an error names a line: " + e).c_str(), w.log());
  for (const sim::pilot::Rule &r : program.rules)
    fuzz::require(r.line >= 1 && r.line <= lines, "a rule comes from a line of the input", w.log());

  const VESSELSTATUS orbit = inOrbit();
  w.createVessel("Pad", "Tanked", nullptr);
  w.createVessel("Probe", "Probe", &orbit);
  w.focusVessel = "Pad";
  sim::pilot::Pilot pilot(program);
  w.pilot = [&pilot](sim::World &world) { pilot.act(world); };
  for (int i = 0; i < kSteps && !pilot.ended(); ++i) w.step();
  return 0;
}
