// The Varnell library as the host loads it: a fresh copy of the built module,
// so that its load entry and its module-wide version cache start anew.
#include <gtest/gtest.h>

#include "sim/api/module_support.h"
#include "sim/world/world.h"
#include "tests/support/failing_new.h"
#include "tests/support/launcher.h"

#ifndef _WIN32
#include <dlfcn.h>

#include <map>

// This program stands between the module and the host for two of the host's
// functions, as a dynamic linker lets a program do (it exports them, and a
// module's references bind to the program's definitions before the host's):
// Date2Int may answer 0 as for a date it cannot read, and GetProcAddress may
// find names the module does not export.
namespace interposed {
int dateFailures = 0, dateCalls = 0;
std::map<std::string, FARPROC> extraExports;
}  // namespace interposed

template <typename F>
F hostFunction(const char *symbol) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, symbol));
}

int Date2Int(char *date) {
  ++interposed::dateCalls;
  if (interposed::dateFailures > 0 && interposed::dateFailures--) return 0;
  static const auto host = hostFunction<int (*)(char *)>("_Z8Date2IntPc");
  return host(date);
}

extern "C" FARPROC GetProcAddress(HMODULE module, const char *name) {
  static const auto host = hostFunction<FARPROC (*)(HMODULE, const char *)>("GetProcAddress");
  if (FARPROC found = host(module, name)) return found;
  auto extra = name ? interposed::extraExports.find(name) : interposed::extraExports.end();
  return extra == interposed::extraExports.end() ? nullptr : extra->second;
}
#endif

namespace {

class module_entry : public ::testing::Test {
 protected:
  void SetUp() override { scratch.copyFromBuiltTree(moduleLibrary("Varnell")); }
  void TearDown() override {
    if (module) FreeLibrary(module);
  }
  HMODULE load() {
    module = LoadLibraryA(scratch.path("Modules/Varnell").c_str());
    EXPECT_NE(module, nullptr);
    return module;
  }

  ScratchTree scratch;
  sim::World world{".", ""};  // the host the module reports to while it loads
  HMODULE module = nullptr;
};

// No exception leaves an entry point: a launcher that cannot be made for want
// of memory is null to the host, and a line in its log.
TEST_F(module_entry, loading_hands_the_host_the_library_it_was_loaded_from_and_no_exception_comes_back) {
  ASSERT_NE(load(), nullptr);
  // The file as the system names it: with '\' between folders on Windows.
  const std::string file = std::filesystem::path(scratch.path(moduleLibrary("Varnell"))).make_preferred().string();
  EXPECT_TRUE(world.log().contains("module initialised: " + file));
  auto exit = lookUp<void (*)(VESSEL *)>(module, "ovcExit");
  ASSERT_NE(exit, nullptr);
  exit(nullptr);  // ignored
#ifndef _WIN32    // the module's operator new is its own there
  auto init = lookUp<VESSEL *(*)(OBJHANDLE, int)>(module, "ovcInit");
  EXPECT_EQ((failing_new::allocationFailures = 1, init(nullptr, 1)), nullptr);
  EXPECT_TRUE(world.log().contains("ovcInit stopped by an exception: std::bad_alloc"));
#endif
}

// A result of 0 is no version: the host is asked again until it gives one,
// and then never again.
TEST_F(module_entry, the_version_is_the_build_date_asked_of_the_host_until_it_answers) {
#ifdef _WIN32
  GTEST_SKIP() << "the module binds to the host library's Date2Int by name here";
#else
  auto version = lookUp<int (*)()>(load(), "GetModuleVersion");
  ASSERT_NE(version, nullptr);
  interposed::dateFailures = 2;
  const int asked = interposed::dateCalls;
  const int answers[] = {version(), version(), version(), version()};
  EXPECT_EQ(interposed::dateCalls - asked, 3);
  char buildDate[] = "Apr 25 2006";
  EXPECT_EQ(std::vector<int>(answers, answers + 4), (std::vector<int>{0, 0, Date2Int(buildDate), Date2Int(buildDate)}));
#endif
}

// The module exports no exit function of its own; one that the look-up at load
// finds, under either of its two names, runs at unload with the module's handle.
#ifndef _WIN32  // the test stands between module and host, which it cannot on Windows
HMODULE exited[2];
void exitModule(HINSTANCE h) { exited[0] = static_cast<HMODULE>(h); }
void dllExit(HINSTANCE h) { exited[1] = static_cast<HMODULE>(h); }
#endif

TEST_F(module_entry, an_exit_function_found_at_load_runs_at_unload_ExitModule_first) {
#ifdef _WIN32
  GTEST_SKIP() << "GetProcAddress is the system's own here";
#else
  // Through void (*)(), as GetProcAddress hands out every function.
  interposed::extraExports["opcDLLExit"] = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&dllExit));
  for (int found : {1, 0}) {  // opcDLLExit alone, then ExitModule as well
    exited[0] = exited[1] = nullptr;
    const HMODULE loaded = load();
    FreeLibrary(module);
    module = nullptr;
    EXPECT_EQ(exited[found], loaded) << found;
    EXPECT_EQ(exited[1 - found], nullptr) << found;
    interposed::extraExports["ExitModule"] = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&exitModule));
  }
  interposed::extraExports.clear();
#endif
}

}  // namespace
