// The `varnell` program's work, from the command line to the exit status:
// `varnell fly` flies a scenario under its pilot program and records the
// flight; `varnell check` reports what is wrong with a scenario without flying
// it. Every failure becomes a message and an exit status here, inside the host
// library: on Windows each library keeps its own C++ runtime, so an exception
// must be caught in the library that throws it.
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "sim/platform/float_traps.h"
#include "sim/platform/platform_services.h"
#include "sim/runner/command_line.h"
#include "sim/runner/commands.h"
#include "sim/runner/program.h"

namespace sim {
namespace runner {
namespace {

// The built simulator tree lies beside the program's folder, as ../root.
std::string defaultRoot() {
  const std::string exe = sim::programFile();
  if (exe.empty()) throw std::runtime_error("cannot find where the program lies; give --root");
  return (std::filesystem::path(exe).parent_path() / ".." / "root").string();
}

bool outputIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stdout)) != 0;
#else
  return isatty(fileno(stdout)) != 0;
#endif
}

int run(const std::vector<std::string> &args) {
  Command c = parseCommandLine(args);
  switch (c.kind) {
    case Command::Kind::help:
      std::fputs(kUsage, stdout);
      return 0;
    case Command::Kind::fly:
      if (c.fly.root.empty()) c.fly.root = defaultRoot();
      return runFly(c.fly, std::cout, std::cerr, outputIsTerminal());
    case Command::Kind::check:
      if (c.check.root.empty()) c.check.root = defaultRoot();
      return runCheck(c.check, std::cout);
    case Command::Kind::report:
      return runReport(c.report, std::cout);
  }
  return kBadUsage;
}

}  // namespace

int programMain(int argc, char **argv) {
  // The test suite runs the program as it runs its own tests, with
  // floating-point faults trapping (where the C library can).
  const char *traps = std::getenv("VARNELL_FP_TRAPS");
  if (traps && std::strcmp(traps, "1") == 0) sim::trapFloatingPointFaults();
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError &e) {
    std::fprintf(stderr, "varnell: %s\n\n%s", e.what(), kUsage);
    return kBadUsage;
  } catch (const std::exception &e) {
    std::cout.flush();
    std::fprintf(stderr, "varnell: error: %s\n", e.what());
    return kBadInput;
  } catch (...) {
    std::cout.flush();
    std::fprintf(stderr, "varnell: error: unknown exception\n");
    return kBadInput;
  }
}

}  // namespace runner
}  // namespace sim
