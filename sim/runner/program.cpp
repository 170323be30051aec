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

int run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool terminal) {
  Command c = parseCommandLine(args);
  switch (c.kind) {
    case Command::Kind::help:
      out << kUsage;
      return 0;
    case Command::Kind::fly:
      if (c.fly.root.empty()) c.fly.root = defaultRoot();
      return runFly(c.fly, out, err, terminal);
    case Command::Kind::check:
      if (c.check.root.empty()) c.check.root = defaultRoot();
      return runCheck(c.check, out);
    case Command::Kind::report:
      return runReport(c.report, out);
  }
  return kBadUsage;
}

}  // namespace

int runProgram(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, bool terminal) {
  try {
    return run(args, out, err, terminal);
  } catch (const UsageError &e) {
    err << "varnell: " << e.what() << "\n\n" << kUsage;
    return kBadUsage;
  } catch (const std::exception &e) {
    out.flush();
    err << "varnell: error: " << e.what() << '\n';
    return kBadInput;
  } catch (...) {
    out.flush();
    err << "varnell: error: unknown exception\n";
    return kBadInput;
  }
}

int programMain(int argc, char **argv) {
  // The test suite runs the program as it runs its own tests, with
  // floating-point faults trapping (where the C library can).
  const char *traps = std::getenv("VARNELL_FP_TRAPS");
  if (traps && std::strcmp(traps, "1") == 0) sim::trapFloatingPointFaults();
  return runProgram(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, outputIsTerminal());
}

}  // namespace runner
}  // namespace sim
