// oapiWriteLog: a module's own line in the host's log. The host adds where it
// came from: the scenario file and line being read, or else the vessel whose
// callback is running, since a module's text rarely knows either.
//
// A module that writes while it reads its scenario lines is telling about the
// line it was given, which it could not take in (the manifest reader names
// each line it rejects): that is an error of the scenario at that line, and
// the one place where the host learns what a module makes of its lines.
#include <cstdio>

#include "sim/formats/scenario_handles.h"
#include "sim/world/world.h"

void oapiWriteLog(char *line) {
  sim::World *w = sim::World::current();
  if (!w) {
    std::fprintf(stderr, "oapiWriteLog called with no world\n");
    return;
  }
  const std::string text = line ? line : "";
  if (const sim::VesselLines *reading = sim::activeScenarioCall().lines)
    w->log().error(text, reading->file(), reading->lineNumber());
  else if (w->callingVessel)
    w->log().info(w->callingVessel->name + ": " + text);
  else
    w->log().info(text);
}
