// Pilot programs as the tests write them: read from text under one name, so
// that an error reads "test.pilot:<line>: ...".
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/pilot/program.h"

// The program and the errors reading it gave; without a list to take them,
// an error fails the test.
inline sim::pilot::Program pilotProgram(const std::string &text, std::vector<std::string> *errors = nullptr) {
  std::vector<std::string> found;
  sim::pilot::Program p = sim::pilot::parseProgram("test.pilot", text, errors ? *errors : found);
  EXPECT_TRUE(found.empty()) << found.front();
  return p;
}
