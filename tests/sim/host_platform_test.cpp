// The Windows names that modules use, on this platform, and the host's small
// services to modules: library loading and build dates. Its HUD text: hud_surface_test.
#include <gtest/gtest.h>

#include "sim/api/module_support.h"
#ifndef _WIN32
#include "sim/platform/platform_posix.h"
#endif
#include "sim/world/world.h"
#include "tests/support/tree.h"

TEST(load_library, windows_names_become_library_paths_from_the_working_directory) {
#ifndef _WIN32  // Windows resolves the names itself
  EXPECT_EQ(sim::libraryPath("Modules\\cvelmessage"), "Modules/cvelmessage.so");
  EXPECT_EQ(sim::libraryPath("Fixture"), "./Fixture.so");
  EXPECT_EQ(sim::libraryPath("Modules\\Plugin\\x.dll"), "Modules/Plugin/x.dll");
  EXPECT_EQ(sim::libraryPath("v1.2\\lib"), "v1.2/lib.so");
#endif

  ScratchTree root;
  root.withFixtureModule();
  HMODULE lib = LoadLibraryA("Modules\\Fixture");
  ASSERT_NE(lib, nullptr);
  EXPECT_NE(GetProcAddress(lib, "ovcInit"), nullptr);
  EXPECT_EQ(GetProcAddress(lib, "NoSuchEntry"), nullptr);
  EXPECT_TRUE(FreeLibrary(lib));
  EXPECT_EQ(LoadLibraryA("Modules\\Missing"), nullptr);
}

TEST(module_support, date2int_turns_a_build_date_into_a_number_and_counts_the_calls) {
  ScratchTree root;
  sim::World w(root.dir(), "");
  char apr[] = "Apr 25 2006", dec[] = "Dec  1 1999", bad[] = "Foo 12 2001";
  EXPECT_EQ(Date2Int(apr), 60425);
  EXPECT_EQ(Date2Int(dec), 991201);
  EXPECT_EQ(Date2Int(bad), 0);
  EXPECT_TRUE(w.log().contains("Date2Int(\"Apr 25 2006\") = 60425"));
}
