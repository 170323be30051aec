// The Windows names that modules use, on this platform, and the host's small
// services to modules: library loading, HUD text, build dates.
#include <gtest/gtest.h>

#ifndef _WIN32
#include "sim/platform_posix.h"
#endif
#include "sim/world.h"
#include "temp_root.h"

TEST(load_library, windows_names_become_library_paths_from_the_working_directory) {
#ifndef _WIN32  // Windows resolves the names itself
  EXPECT_EQ(sim::libraryPath("Modules\\cvelmessage"), "Modules/cvelmessage.so");
  EXPECT_EQ(sim::libraryPath("Fixture"), "./Fixture.so");
  EXPECT_EQ(sim::libraryPath("Modules\\Plugin\\x.dll"), "Modules/Plugin/x.dll");
  EXPECT_EQ(sim::libraryPath("v1.2\\lib"), "v1.2/lib.so");
#endif

  TempRoot root;
  root.withFixtureModule();
  HMODULE lib = LoadLibraryA("Modules\\Fixture");
  ASSERT_NE(lib, nullptr);
  EXPECT_NE(GetProcAddress(lib, "ovcInit"), nullptr);
  EXPECT_EQ(GetProcAddress(lib, "NoSuchEntry"), nullptr);
  EXPECT_TRUE(FreeLibrary(lib));
  EXPECT_EQ(LoadLibraryA("Modules\\Missing"), nullptr);
}

TEST(hud, text_out_draws_on_the_world_hud_surface_and_nowhere_else) {
  TempRoot root;
  root.write("Config/Vessels/Probe.cfg", "Module = Fixture\n");
  root.withFixtureModule();
  sim::World w(root.dir(), "");
  EXPECT_TRUE(TextOutA(w.hudSurface(), 5, 6, "hello world", 5));
  EXPECT_FALSE(TextOutA(reinterpret_cast<HDC>(&w), 5, 6, "elsewhere", 9));
  ASSERT_EQ(w.hudTexts.size(), 1u);
  EXPECT_EQ(w.hudTexts[0].text, "hello");
  EXPECT_EQ(w.hudTexts[0].y, 6);
  EXPECT_EQ(w.log().refusedCount(), 1);

  sim::Vessel *p = w.createVessel("P", "Probe", nullptr);
  const std::vector<sim::HudText> drawn = w.drawHud(p);
  ASSERT_EQ(drawn.size(), 1u);  // the earlier text is gone: a fresh HUD each time
  EXPECT_EQ(drawn[0].text, "probe");
  EXPECT_EQ(drawn[0].x, 640);
  EXPECT_EQ(w.defaultHudDraws, 1);
}

TEST(module_support, date2int_turns_a_build_date_into_a_number_and_counts_the_calls) {
  TempRoot root;
  sim::World w(root.dir(), "");
  char apr[] = "Apr 25 2006", dec[] = "Dec  1 1999", bad[] = "Foo 12 2001";
  EXPECT_EQ(Date2Int(apr), 60425);
  EXPECT_EQ(Date2Int(dec), 991201);
  EXPECT_EQ(Date2Int(bad), 0);
  EXPECT_EQ(w.date2IntCalls, 3);
}
