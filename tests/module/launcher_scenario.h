// Launchers as the simulator makes them: read from a scenario block, or created
// bare; the host's interface pointer read as the launcher behind it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "launcher/varnell.h"
#include "sim/world.h"

inline VARNELL *launcherOf(sim::Vessel *v) { return v ? static_cast<VARNELL *>(v->iface) : nullptr; }

// The block's lines follow "<name>:Varnell"; the scenario file, named after the
// running test, lasts only while it is read.
inline VARNELL *loadLauncher(sim::World &world, const std::vector<std::string> &lines, const std::string &name = "L1") {
  const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::string path = std::string("module-") + test->test_suite_name() + "-" + test->name() + ".scn";
  {
    std::ofstream scn(path);
    scn << "BEGIN_SHIPS\n" << name << ":Varnell\n";
    for (const std::string &line : lines) scn << "  " << line << "\n";
    scn << "END\nEND_SHIPS\n";
  }
  const bool loaded = world.loadScenario(path);
  std::remove(path.c_str());
  return loaded ? launcherOf(world.find(name)) : nullptr;
}

inline void expectVector(const VECTOR3 &got, double x, double y, double z, const std::string &what = "") {
  EXPECT_NEAR(got.x, x, 1e-9) << what;
  EXPECT_NEAR(got.y, y, 1e-9) << what;
  EXPECT_NEAR(got.z, z, 1e-9) << what;
}
