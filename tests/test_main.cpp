// The test main shared by every suite: tests run inside the built simulator
// tree, whatever folder they were started from.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

int main(int argc, char **argv) {
  std::error_code failed;
  std::filesystem::current_path(VARNELL_ROOT_DIR, failed);
  if (failed) {
    std::fprintf(stderr, "cannot enter the simulator tree %s: %s\n", VARNELL_ROOT_DIR, failed.message().c_str());
    return 2;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
