// The test main shared by every suite: tests run inside the built simulator
// tree, whatever folder they were started from.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char **argv) {
  if (chdir(VARNELL_ROOT_DIR) != 0) {
    std::perror("cannot enter the simulator tree " VARNELL_ROOT_DIR);
    return 2;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
