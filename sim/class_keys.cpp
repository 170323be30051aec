#include "class_keys.h"

#include "world.h"

namespace sim {
namespace {

void applyShape(World &w, Vessel &v, const ClassFile &cf) {
  double x[9];
  if (cf.numbers("Mass", x, 1, w.log())) v.emptyMass = x[0];
  if (cf.numbers("Size", x, 1, w.log())) v.size = x[0];
  if (cf.numbers("Inertia", x, 3, w.log())) v.pmi = _V(x[0], x[1], x[2]);
  if (cf.numbers("CrossSections", x, 3, w.log())) v.crossSections = _V(x[0], x[1], x[2]);
  if (cf.numbers("CW", x, 4, w.log())) {
    v.cwZPos = x[0];
    v.cwZNeg = x[1];
    v.cwX = x[2];
    v.cwY = x[3];
  }
  if (cf.numbers("TouchdownPoints", x, 9, w.log()))
    for (int i = 0; i < 3; ++i) v.touchdown[i] = _V(x[3 * i], x[3 * i + 1], x[3 * i + 2]);
}

// A class that defines no tank of its own gets one, full, from MaxFuel.
void applyPropellant(World &w, Vessel &v, const ClassFile &cf) {
  double x;
  if (cf.numbers("Isp", &x, 1, w.log())) v.classIsp = x;
  if (!cf.numbers("MaxFuel", &x, 1, w.log()) || !v.tanks.empty()) return;
  const Id id = w.nextId();
  v.tanks.push_back({id, x, x, 1});
  v.defaultTank = id;
}

void applyMesh(World &w, Vessel &v, const ClassFile &cf) {
  if (!cf.has("MeshName")) return;
  const std::string name = cf.text("MeshName");
  MESHHANDLE h = w.loadMesh(name);
  if (!h) {
    w.log().error("mesh \"" + name + "\" not loaded; the vessel has no class mesh", cf.path(), cf.line("MeshName"));
    return;
  }
  v.iface->AddMesh(h);
}

}  // namespace

void applyClassKeys(World &w, Vessel &v, const ClassFile &cf) {
  applyShape(w, v, cf);
  applyPropellant(w, v, cf);
  applyMesh(w, v, cf);
}

}  // namespace sim
