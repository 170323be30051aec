// The pilot and the flight runner as the tests use them: programs read from
// text under one name (an error reads "test.pilot:<line>: ..."), and varnell
// fly run as the command line runs it.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "sim/pilot/program.h"
#include "sim/runner/commands.h"
#include "sim/runner/program.h"

// The program and the errors reading it gave; without a list to take them,
// an error fails the test.
inline sim::pilot::Program pilotProgram(const std::string &text, std::vector<std::string> *errors = nullptr) {
  std::vector<std::string> found;
  sim::pilot::Program p = sim::pilot::parseProgram("test.pilot", text, errors ? *errors : found);
  EXPECT_TRUE(found.empty()) << found.front();
  return p;
}

// varnell fly on a scenario of the tree at root, writing its files into out (none when empty).
inline sim::runner::FlyOptions flyOptions(const std::string &root, const std::string &scenario,
                                          const std::string &out = "") {
  sim::runner::FlyOptions o;
  o.scenario = scenario;
  o.root = root;
  o.outDir = out;
  return o;
}

// What varnell fly ended with and printed.
struct Flown {
  int status;
  std::string terminal, errors;
};
inline Flown fly(const sim::runner::FlyOptions &o) {
  std::ostringstream out, err;
  const int status = sim::runner::runFly(o, out, err, false);
  return {status, out.str(), err.str()};
}
// varnell run with these arguments, as from the command line.
inline Flown varnell(const std::vector<std::string> &args) {
  std::ostringstream out, err;
  const int status = sim::runner::runProgram(args, out, err, false);
  return {status, out.str(), err.str()};
}
// The last line of a text, without its newline.
inline std::string lastLine(std::string text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text.substr(text.rfind('\n') + 1);  // npos + 1 is 0: the whole text
}
// How often what occurs in text.
inline size_t count(const std::string &text, const std::string &what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}
