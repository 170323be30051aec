// Creating a vessel the way the simulator does: its class file, the default
// caps, its module's object (ovcInit), clbkSetClassCaps, the generic class
// keys, then a state, and last what depends on all of them (finishSetup).
#include <algorithm>

#include "sim/api/status.h"
#include "sim/formats/class_file.h"
#include "sim/formats/class_keys.h"
#include "sim/formats/text.h"
#include "sim/physics/planet/surface.h"
#include "sim/platform/module.h"
#include "sim/world/world.h"

namespace sim {

// The vessel joins the world before ovcInit, so that a module's constructor
// can already call VESSEL methods on it.
Vessel *World::build(const std::string &name, const std::string &className) {
  const std::string path = root_ + "/Config/Vessels/" + namePath(className) + ".cfg";
  const ClassFile *cf = resources_.classFile(path);
  const bool wantsModule = cf && cf->has("Module");
  Module *module = wantsModule ? resources_.loadModule(cf->text("Module")) : nullptr;
  if (module && !module->ovcInit) log_->error("module " + module->name() + " exports no ovcInit", path);
  if (!cf || (wantsModule && (!module || !module->ovcInit))) {
    log_->error("vessel \"" + name + "\" of class \"" + className + "\" not created");
    return nullptr;
  }
  owned_.push_back(std::make_unique<Vessel>());
  Vessel *v = owned_.back().get();
  v->name = name;
  v->className = className;
  applyDefaultCaps(*v);
  v->module = module;
  order_.push_back(v);
  live_.insert(v);
  CallingScope calling(*this, v);
  v->iface = module ? module->ovcInit(v, 1) : (v->hostIface = new HostVessel(v, 1));
  if (!v->iface) {
    log_->error("module " + module->name() + " gave no vessel for \"" + name + "\"", path);
    order_.erase(std::find(order_.begin(), order_.end(), v));
    forget(v);
    return nullptr;
  }
  // The class file is shared by every vessel of the class; the module only
  // holds its handle, as no function of this host reads through one.
  if (auto *v2 = callbacksOf(v->iface)) v2->clbkSetClassCaps(const_cast<ClassFile *>(cf));
  applyClassKeys(*this, *v, *cf);
  log_->info("vessel created: " + name + " (" + className + ")");
  return v;
}

Vessel *World::createVessel(const std::string &name, const std::string &className, const VESSELSTATUS *status) {
  const std::string creator = callingVessel ? callingVessel->name : "";
  Vessel *v = build(name, className);
  if (!v) return nullptr;
  v->createdAt = simt_;
  v->createdBy = creator;
  if (status) {
    v->givenStatus = *status;
    applyStatus(*v, *status, planet, planetTime());
  } else
    physics::placeOnSurface(*v, planet, 0, 0, 0, planetTime());
  v->finishSetup();
  if (auto *v2 = callbacksOf(v->iface)) {
    CallingScope calling(*this, v);
    v2->clbkPostCreation();
  }
  record_.record(name, EventKind::vesselCreated, className + (creator.empty() ? "" : " by " + creator));
  return v;
}

}  // namespace sim
