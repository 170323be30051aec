// The benchmark suite's main: like the tests, it works inside the built
// simulator tree, where class files, meshes and modules are found.
#include <benchmark/benchmark.h>

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
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
