// The test main shared by every suite: tests run inside the built simulator
// tree, whatever folder they were started from, with floating-point faults
// trapping where the C library can (sim/platform/float_traps.h).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "sim/platform/float_traps.h"

int main(int argc, char **argv) {
  sim::trapFloatingPointFaults();  // a NaN or infinity made anywhere stops the test where it was made
  std::error_code failed;
  std::filesystem::current_path(VARNELL_ROOT_DIR, failed);
  if (failed) {
    std::fprintf(stderr, "cannot enter the simulator tree %s: %s\n", VARNELL_ROOT_DIR, failed.message().c_str());
    return 2;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
