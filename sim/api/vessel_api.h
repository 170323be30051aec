// What the VESSEL methods share: finding the live vessel and the objects behind
// a module's handles, refusing (and logging) whatever names nothing.
#pragma once

#include <string>

#include "sim/api/handles.h"
#include "sim/world/world.h"

namespace sim {
namespace api {

// Logs a refused input in the current world's log.
void refuse(const std::string &text);
// The live vessel behind a VESSEL interface, or null (refused) when it has none.
Vessel *self(const VESSEL *iface, const char *method);
// The vessel's tank or thruster a handle names, or null (refused).
Tank *tankOf(Vessel &v, PROPELLANT_HANDLE h, const char *method);
Thruster *thrusterOf(Vessel &v, THRUSTER_HANDLE h, const char *method);

}  // namespace api
}  // namespace sim
