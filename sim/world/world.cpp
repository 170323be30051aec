// The world's bookkeeping: the current world, vessels by name and handle, and
// their deletion.
#include "sim/world/world.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "host/cvelmessage.h"
#include "sim/platform/module.h"
#include "sim/world/frame_scratch.h"

namespace sim {

const physics::PlanetPose &World::planetPoseAt(double t) const {
  if (t != poseTime_) {
    pose_ = planet.poseAt(t);
    poseTime_ = t;
  }
  return pose_;
}
namespace {
World *current_ = nullptr;
}

World::World(const std::string &rootDir, const std::string &logPath, bool appendLog)
    : root_(rootDir), log_(std::make_unique<Log>(logPath, appendLog)), scratch_(std::make_unique<FrameScratch>()) {
  if (current_) throw std::logic_error("a World already exists; the host runs one at a time");
  current_ = this;
  log_->info("world at " + rootDir);
}

World::~World() {
  while (!order_.empty()) deleteVessel(order_.back());
  resources_.unloadModules();
  if (messages_) FreeLibrary(messages_);
  current_ = nullptr;
}

World *World::current() { return current_; }

Vessel *World::find(const std::string &name) const {
  for (Vessel *v : order_)
    if (v->name == name) return v;
  return nullptr;
}

// A set look-up, so that a world of many vessels costs each call no more
// than a world of one. The vessel found is kept for the next call; it leaves
// live_ only through forget.
Vessel *World::lookUp(OBJHANDLE h) const {
  auto it = live_.find(static_cast<const Vessel *>(h));
  if (it == live_.end()) return nullptr;
  lastFound_ = *it;
  return const_cast<Vessel *>(lastFound_);
}

const std::vector<ScenarioLine> &World::unknownLines(const Vessel &v) const {
  static const std::vector<ScenarioLine> none;
  const auto it = unknownLines_.find(&v);
  return it == unknownLines_.end() ? none : it->second;
}

void World::forget(const Vessel *v) {
  live_.erase(v);
  unknownLines_.erase(v);
  if (lastFound_ == v) lastFound_ = nullptr;
}

// The Vessel record itself stays in owned_ until the world ends: its address
// is never given to another vessel, so a stale OBJHANDLE can never name one.
// Sought from the back: the world's end deletes the last vessel each time.
void World::deleteVessel(Vessel *v) {
  auto last = std::find(order_.rbegin(), order_.rend(), v);
  if (last == order_.rend()) {
    log_->refused("deleting a vessel that is not in the world");
    return;
  }
  if (stepping_) {
    if (std::find(doomed_.begin(), doomed_.end(), v) == doomed_.end()) doomed_.push_back(v);
    return;
  }
  order_.erase(std::next(last).base());
  forget(v);
  VESSEL *iface = v->iface;
  v->iface = v->hostIface = nullptr;
  if (v->module && v->module->ovcExit) {
    CallingScope calling(*this, v);
    v->module->ovcExit(iface);
  } else if (!v->module) {
    delete static_cast<HostVessel *>(iface);
  }
  dropMessages(iface);
  record_.record(v->name, EventKind::vesselDeleted, v->className);
  log_->info("vessel deleted: " + v->name);
}

// The message module keys its queues by interface address; a later vessel may
// get the same address, so a deleted vessel's queue has to go with it.
void World::dropMessages(VESSEL *iface) {
  if (!messagesTried_) {
    messagesTried_ = true;
    messages_ = LoadLibraryA("Modules\\cvelmessage");
    if (!messages_) log_->info("no message module: deleted vessels leave no queues to drop");
  }
  if (!messages_) return;
  auto drop =
      reinterpret_cast<DropCMessagesFunc>(reinterpret_cast<void (*)()>(GetProcAddress(messages_, "DropCMessages")));
  if (drop) drop(iface);
}

}  // namespace sim
