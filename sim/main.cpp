// varnell: the headless host's program. For now it loads a scenario in the
// simulator's folder tree and shows each vessel as the host holds it.
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "physics/planet.h"
#include "world.h"

namespace {

const char kUsage[] =
    "Usage: varnell fly [SCENARIO] [--root DIR]\n"
    "       varnell --help\n"
    "\n"
    "fly      loads SCENARIO and lists its vessels: name, class, status, position\n"
    "         (longitude and latitude [deg] and altitude [m] when landed, else the\n"
    "         position relative to the Earth's centre [m]), mass [kg] and the contents\n"
    "         of each tank [kg]. SCENARIO defaults to Scenarios/Varnell/Launch.scn in\n"
    "         the root; a relative path is taken from the current folder if the file\n"
    "         is there, else from the root.\n"
    "--root  the simulator's folder tree (Config/, Meshes/, Modules/, Scenarios/);\n"
    "         defaults to ../root beside the folder of this program. The host runs\n"
    "         inside it and writes its log there as Varnell.log.\n"
    "--help  this text.\n";

constexpr double kDegPerRad = 180 / M_PI;  // [deg/rad]

struct Options {
  std::string scenario = "Scenarios/Varnell/Launch.scn";
  bool scenarioGiven = false;
  std::string root;
};

// Usage errors are reported apart from failures of the run itself.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string programFolder() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) throw std::runtime_error("cannot find where the program lies (/proc/self/exe)");
  const std::string exe(path, n);
  return exe.substr(0, exe.rfind('/'));
}

Options parse(const std::vector<std::string> &args) {
  if (args.empty()) throw UsageError("a command is needed");
  if (args[0] != "fly") throw UsageError("unknown command \"" + args[0] + "\"");
  Options o;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--root") {
      if (++i == args.size()) throw UsageError("--root needs a folder");
      o.root = args[i];
    } else if (args[i].rfind("--", 0) == 0 || o.scenarioGiven) {
      throw UsageError("unexpected argument \"" + args[i] + "\"");
    } else {
      o.scenario = args[i];
      o.scenarioGiven = true;
    }
  }
  if (o.root.empty()) o.root = programFolder() + "/../root";
  return o;
}

std::string absolute(const std::string &path) {
  if (!path.empty() && path[0] == '/') return path;
  char cwd[PATH_MAX];
  if (!getcwd(cwd, sizeof cwd)) throw std::runtime_error("cannot read the current folder");
  return std::string(cwd) + "/" + path;
}

void printVessel(const sim::World &w, const sim::Vessel &v) {
  std::printf("%s  %s  %s", v.name.c_str(), v.className.c_str(),
              v.crashed  ? "crashed"
              : v.landed ? "landed"
                         : "flight");
  double lng, lat, alt;
  sim::physics::toSurface(w.planet, v.pos, w.simTime(), lng, lat, alt);
  if (v.landed)
    std::printf("  lng %.4f deg  lat %.4f deg  alt %.1f m", v.surfLng * kDegPerRad, v.surfLat * kDegPerRad, alt);
  else
    std::printf("  rpos (%.1f, %.1f, %.1f) m  alt %.1f m", v.pos.x, v.pos.y, v.pos.z, alt);
  std::printf("  mass %.1f kg\n", v.mass());
  for (size_t i = 0; i < v.tanks.size(); ++i)
    std::printf("    tank %zu: %.1f of %.1f kg\n", i, v.tanks[i].mass, v.tanks[i].maxMass);
}

int fly(const Options &o) {
  std::string scenario = o.scenario;
  if (o.scenarioGiven && access(scenario.c_str(), R_OK) == 0) scenario = absolute(scenario);
  if (chdir(o.root.c_str()) != 0) throw std::runtime_error("cannot enter the root folder " + o.root);
  sim::World world(".");
  if (!world.loadScenario(scenario))
    throw std::runtime_error("cannot open the scenario " + scenario + " (root " + o.root + ")");
  std::printf("%s: %zu vessel(s)\n", scenario.c_str(), world.vessels().size());
  for (const sim::Vessel *v : world.vessels()) printVessel(world, *v);
  if (world.log().errorCount() > 0)
    std::printf("%d problem(s), see %s/Varnell.log\n", world.log().errorCount(), o.root.c_str());
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string &a : args)
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
  try {
    return fly(parse(args));
  } catch (const UsageError &e) {
    std::fprintf(stderr, "varnell: %s\n\n%s", e.what(), kUsage);
    return 2;
  } catch (const std::exception &e) {
    std::fprintf(stderr, "varnell: error: %s\n", e.what());
    return 1;
  } catch (...) {
    std::fprintf(stderr, "varnell: error: unknown exception\n");
    return 1;
  }
}
