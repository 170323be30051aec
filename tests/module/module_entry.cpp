// The Varnell library as the host loads it: a fresh copy of the built module,
// so that its load entry and its module-wide version cache start anew.
#include <gtest/gtest.h>

#include "host/Orbitersdk.h"
#include "sim/world.h"
#include "tests/support/launcher.h"

namespace {

class module_entry : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch.copyFromBuiltTree(moduleLibrary("Varnell"));
    module = LoadLibraryA(scratch.path("Modules/Varnell").c_str());
    ASSERT_NE(module, nullptr);
  }
  void TearDown() override {
    if (module) FreeLibrary(module);
  }

  ScratchTree scratch;
  sim::World world{".", ""};  // the host the module reports to while it loads
  HMODULE module = nullptr;
};

TEST_F(module_entry, loading_hands_the_host_the_library_it_was_loaded_from) {
  // The file as the system names it: with '\' between folders on Windows.
  const std::string file = std::filesystem::path(scratch.path(moduleLibrary("Varnell"))).make_preferred().string();
  EXPECT_TRUE(world.log().contains("module initialised: " + file));
}

TEST_F(module_entry, the_version_is_the_build_date_asked_of_the_host_once) {
  auto version = lookUp<int (*)()>(module, "GetModuleVersion");
  ASSERT_NE(version, nullptr);
  const int asked = world.date2IntCalls;
  const int first = version();
  const int second = version();
  EXPECT_EQ(world.date2IntCalls - asked, 1);
  char buildDate[] = "Apr 25 2006";
  EXPECT_EQ(first, Date2Int(buildDate));
  EXPECT_EQ(second, first);
}

TEST_F(module_entry, exit_ignores_a_null_vessel) {
  auto exit = lookUp<void (*)(VESSEL *)>(module, "ovcExit");
  ASSERT_NE(exit, nullptr);
  exit(nullptr);
}

}  // namespace
