// oapiWriteLog: a module's own line in the host's log. The host adds where it
// came from: the scenario file and line being read, or else the vessel whose
// callback is running, since a module's text rarely knows either.
#include <cstdio>

#include "scenario_io.h"
#include "world.h"

void oapiWriteLog(char *line) {
  sim::World *w = sim::World::current();
  if (!w) {
    std::fprintf(stderr, "oapiWriteLog called with no world\n");
    return;
  }
  const std::string text = line ? line : "";
  if (const sim::VesselLines *reading = sim::activeScenarioCall().lines)
    w->log().info(reading->file() + ":" + std::to_string(reading->lineNumber()) + ": " + text);
  else if (w->callingVessel)
    w->log().info(w->callingVessel->name + ": " + text);
  else
    w->log().info(text);
}
