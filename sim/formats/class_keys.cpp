#include "sim/formats/class_keys.h"

#include <cstring>

#include "sim/formats/text.h"
#include "sim/physics/planet/ground.h"
#include "sim/world/world.h"

namespace sim {
namespace {

// What a key's numbers may be: a mass, a drag coefficient or an area may be
// nothing, but a vessel without size or inertia about an axis cannot turn.
enum class Range { any, notNegative, positive };

struct NumbersKey {
  const char *name;
  int count;
  Range range;
};

const NumbersKey kNumberKeys[] = {
    {"Mass", 1, Range::notNegative},          {"Size", 1, Range::positive},  {"Inertia", 3, Range::positive},
    {"CrossSections", 3, Range::notNegative}, {"CW", 4, Range::notNegative}, {"TouchdownPoints", 9, Range::any},
    {"MaxFuel", 1, Range::notNegative},       {"Isp", 1, Range::positive},   {"RotResistance", 3, Range::notNegative},
};

bool inRange(double x, Range r) { return r == Range::any || (r == Range::positive ? x > 0 : x >= 0); }

// The key's numbers into x when they are there and in range; a value out of
// range is logged at its line and the key left unapplied.
bool numbers(const ClassFile &cf, const NumbersKey &k, double *x, Log &log) {
  if (!cf.numbers(k.name, x, k.count, log)) return false;
  for (int i = 0; i < k.count; ++i) {
    if (inRange(x[i], k.range)) continue;
    log.error(std::string(k.name) + (k.range == Range::positive ? " must be above 0" : " must not be negative") +
                  ", got \"" + cf.text(k.name) + "\"; not applied",
              cf.path(), cf.line(k.name));
    return false;
  }
  return true;
}

// key is one of kNumberKeys' names, spelt as there.
bool numbers(World &w, const ClassFile &cf, const char *key, double *x) {
  for (const NumbersKey &k : kNumberKeys)
    if (std::strcmp(k.name, key) == 0) return numbers(cf, k, x, w.log());
  return false;
}

void applyShape(World &w, Vessel &v, const ClassFile &cf) {
  double x[9];
  if (numbers(w, cf, "Mass", x)) v.emptyMass = x[0];
  if (numbers(w, cf, "Size", x)) v.size = x[0];
  if (numbers(w, cf, "Inertia", x)) v.pmi = _V(x[0], x[1], x[2]);
  if (numbers(w, cf, "CrossSections", x)) v.crossSections = _V(x[0], x[1], x[2]);
  if (numbers(w, cf, "RotResistance", x)) v.rotDrag = _V(x[0], x[1], x[2]);
  if (numbers(w, cf, "CW", x)) {
    v.cwZPos = x[0];
    v.cwZNeg = x[1];
    v.cwX = x[2];
    v.cwY = x[3];
  }
  if (numbers(w, cf, "TouchdownPoints", x))
    physics::setTouchdownPoints(v, _V(x[0], x[1], x[2]), _V(x[3], x[4], x[5]), _V(x[6], x[7], x[8]));
}

// A class that defines no tank of its own gets one, full, from MaxFuel.
void applyPropellant(World &w, Vessel &v, const ClassFile &cf) {
  double x;
  if (numbers(w, cf, "Isp", &x)) v.defaultIsp = x;
  if (!numbers(w, cf, "MaxFuel", &x) || !v.tanks.empty()) return;
  const Id id = w.nextId();
  v.tanks.push_back({id, x, x, 1});
  v.defaultTank = id;
}

void applyMesh(World &w, Vessel &v, const ClassFile &cf) {
  if (!cf.has("MeshName")) return;
  const std::string name = cf.text("MeshName");
  MESHHANDLE h = w.resources().loadMesh(name);
  if (!h) {
    w.log().error("mesh \"" + name + "\" not loaded; the vessel has no class mesh", cf.path(), cf.line("MeshName"));
    return;
  }
  v.iface->AddMesh(h);
}

}  // namespace

void applyDefaultCaps(Vessel &v) {
  v.size = 10;             // [m]
  v.emptyMass = 1e3;       // [kg]
  v.defaultIsp = 5e4;      // [m/s]
  v.pmi = _V(-1, -1, -1);  // undefined until Vessel::finishSetup
  v.cwZPos = 0.1;
  v.cwZNeg = v.cwX = v.cwY = 0.3;
  v.crossSections = _V(20, 20, 20);  // [m^2]
  v.rotDrag = _V(0.01, 0.01, 0.01);
  v.pitchMomentScale = v.bankMomentScale = 0;
  v.touchdown[0] = _V(0, -2, 10);  // [m]
  v.touchdown[1] = _V(-3, -2, -5);
  v.touchdown[2] = _V(3, -2, -5);
}

void checkClassKeys(const ClassFile &cf, Log &log) {
  double x[9];
  for (const NumbersKey &k : kNumberKeys) numbers(cf, k, x, log);
}

void applyClassKeys(World &w, Vessel &v, const ClassFile &cf) {
  applyShape(w, v, cf);
  applyPropellant(w, v, cf);
  applyMesh(w, v, cf);
}

}  // namespace sim
