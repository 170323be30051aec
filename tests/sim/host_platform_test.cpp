// The Windows names that modules use, on this platform, and the host's small
// services to modules: library loading, build dates, and the HUD surface: texts
// drawn on it with TextOutA are recorded for the tests, and on Windows it is a
// real device context where each text leaves pixels.
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
  EXPECT_TRUE(GetProcAddress(lib, "ovcInit") && !GetProcAddress(lib, "NoSuchEntry"));
  EXPECT_TRUE(FreeLibrary(lib));
  EXPECT_EQ(LoadLibraryA("Modules\\Missing"), nullptr);
}

TEST(module_support, date2int_turns_a_build_date_into_a_number_and_counts_the_calls) {
  ScratchTree root;
  sim::World w(root.dir(), "");
  char apr[] = "Apr 25 2006", dec[] = "Dec  1 1999", bad[] = "Foo 12 2001";
  EXPECT_EQ(std::vector<int>({Date2Int(apr), Date2Int(dec), Date2Int(bad)}), std::vector<int>({60425, 991201, 0}));
  EXPECT_TRUE(w.log().contains("Date2Int(\"Apr 25 2006\") = 60425"));
}

namespace {

const char kText[] = "ALT 120.4 km";
const int kTextLength = sizeof kText - 1;

#ifdef _WIN32
// Pixels of the HUD's bitmap inside a rectangle that are no longer blank, and
// whether all of them are in the HUD's green.
struct Lit {
  int count = 0;
  bool green = true;
};

Lit litPixels(HDC hud, const RECT &r) {
  DIBSECTION dib = {};
  if (GetObjectA(GetCurrentObject(hud, OBJ_BITMAP), sizeof dib, &dib) != sizeof dib) return {};
  const auto *bits = static_cast<const DWORD *>(dib.dsBm.bmBits);
  Lit lit;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const DWORD bgr = bits[y * dib.dsBm.bmWidth + x];
      if (bgr == 0) continue;
      ++lit.count;
      lit.green = lit.green && (bgr & 0xFF00FF) == 0;
    }
  return lit;
}

RECT textBox(HDC hud, int x, int y, const char *text, int length) {
  SIZE size = {};
  GetTextExtentPoint32A(hud, text, length, &size);
  return {x, y, x + size.cx, y + size.cy};
}

const RECT kWholeHud = {0, 0, 1280, 720};
#endif

}  // namespace

TEST(hud_surface, a_text_is_recorded_and_leaves_green_pixels_only_where_it_was_drawn) {
  ScratchTree root;
  sim::World w(root.dir(), "");
  HDC hud = w.cockpit().hudSurface();
  ASSERT_TRUE(TextOutA(hud, 100, 200, kText, kTextLength));
  ASSERT_EQ(w.cockpit().hud().texts.size(), 1u);
  EXPECT_EQ(w.cockpit().hud().texts[0].text, kText);
  EXPECT_EQ(w.cockpit().hud().texts[0].x, 100);
  EXPECT_EQ(w.cockpit().hud().texts[0].y, 200);
  EXPECT_FALSE(TextOutA(reinterpret_cast<HDC>(&w), 5, 6, "elsewhere", 9));  // no HUD surface
  EXPECT_EQ(w.cockpit().hud().texts.size(), 1u);
  EXPECT_EQ(w.log().refusedCount(), 1);
#ifdef _WIN32
  const Lit inside = litPixels(hud, textBox(hud, 100, 200, kText, kTextLength));
  EXPECT_GT(inside.count, 2 * kTextLength);  // a few pixels for every character at least
  EXPECT_TRUE(inside.green);
  EXPECT_EQ(litPixels(hud, kWholeHud).count, inside.count);
#endif
  ASSERT_TRUE(TextOutA(hud, 0, 0, kText, 3));  // as many characters as asked for
  EXPECT_EQ(w.cockpit().hud().texts.back().text, "ALT");
}
