// What a module asks of the host at load: InitLib and Date2Int.
#include "sim/api/module_support.h"

#include <cstdio>
#include <cstring>

#include "sim/platform/platform_services.h"
#include "sim/world/world.h"

void InitLib(HINSTANCE hModule) {
  sim::World *w = sim::World::current();
  if (!w) return;
  const std::string file = sim::moduleFile(hModule);
  w->log().info("module initialised: " + (file.empty() ? std::string("(unnamed)") : file));
}

namespace {

// "Mmm dd yyyy", as a compiler writes its build date; 0 when it does not read.
int dateNumber(const char *date) {
  static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  char month[4] = {};
  int day = 0, year = 0;
  if (!date || std::sscanf(date, "%3s %d %d", month, &day, &year) != 3) return 0;
  const char *found = std::strlen(month) == 3 ? std::strstr(kMonths, month) : nullptr;
  if (!found || (found - kMonths) % 3 != 0) return 0;
  return (year % 100) * 10000 + static_cast<int>((found - kMonths) / 3 + 1) * 100 + day;
}

}  // namespace

// Logged: a module asks once for its version, so a module that asks every
// frame shows in the log.
int Date2Int(char *date) {
  const int number = dateNumber(date);
  if (sim::World *w = sim::World::current())
    w->log().info("Date2Int(\"" + std::string(date ? date : "") + "\") = " + std::to_string(number));
  return number;
}
