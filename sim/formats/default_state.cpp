// A vessel's default scenario state: the keys the host itself reads
// (ParseScenarioLineEx) and writes (SaveDefaultState), and applying what was read.
#include <algorithm>
#include <climits>
#include <cmath>

#include "sim/api/vessel_api.h"
#include "sim/formats/scenario_handles.h"
#include "sim/formats/text.h"
#include "sim/physics/planet/attitude.h"
#include "sim/physics/planet/orbit.h"
#include "sim/physics/planet/surface.h"

namespace sim {
namespace {

constexpr double kRadPerDeg = M_PI / 180;  // [rad/deg]

// Keys whose value is a fixed count of finite numbers, scaled into SI units;
// a number may be bounded in size, in the unit it is written in.
struct NumberKey {
  const char *name;
  int count;
  double scale;
  void (*set)(LoadRecord &, const double *);
  double largest[3];  // [key's unit]; 0: any
};

const NumberKey kNumberKeys[] = {
    {"POS",
     2,
     kRadPerDeg,
     [](LoadRecord &r, const double *x) {
       r.lng = x[0];
       r.lat = x[1];
     },
     {0, 90, 0}},
    {"HEADING", 1, kRadPerDeg, [](LoadRecord &r, const double *x) { r.heading = x[0]; }, {}},
    {"ALT", 1, 1, [](LoadRecord &r, const double *x) { r.alt = x[0]; }, {}},
    {"RPOS",
     3,
     1,
     [](LoadRecord &r, const double *x) {
       r.rpos = _V(x[0], x[1], x[2]);
       r.hasPosition = true;
     },
     {}},
    {"RVEL", 3, 1, [](LoadRecord &r, const double *x) { r.rvel = _V(x[0], x[1], x[2]); }, {}},
    {"AROT", 3, kRadPerDeg, [](LoadRecord &r, const double *x) { r.arot = _V(x[0], x[1], x[2]); }, {}},
    {"VROT", 3, kRadPerDeg, [](LoadRecord &r, const double *x) { r.vrot = _V(x[0], x[1], x[2]); }, {}},
};

void fault(const LoadRecord &r, const std::string &text) {
  if (World *w = World::current()) w->log().error(text, r.lines.file(), r.lines.lineNumber());
}

void readNumbers(LoadRecord &r, const NumberKey &k, const std::vector<std::string> &w) {
  double x[3];
  bool ok = static_cast<int>(w.size()) == k.count + 1;
  for (int i = 0; ok && i < k.count; ++i) ok = toNumber(w[i + 1], x[i]);
  if (!ok) {
    fault(r, std::string(k.name) + " needs " + std::to_string(k.count) + " finite number(s); line skipped");
    return;
  }
  for (int i = 0; i < k.count; ++i)
    if (k.largest[i] > 0 && std::fabs(x[i]) > k.largest[i]) {
      fault(r,
            std::string(k.name) + ": \"" + w[i + 1] + "\" is beyond " + exactNumber(k.largest[i]) + "; line skipped");
      return;
    }
  for (int i = 0; i < k.count; ++i) x[i] *= k.scale;
  k.set(r, x);
}

// "ELEMENTS a e i node periapsis-longitude mean-longitude epoch": metres,
// degrees and an MJD, in the global frame; turned into a position and a
// velocity at the scenario's date at once, as the simulator does, so that a
// later RPOS or RVEL line overrides them.
void readElements(LoadRecord &r, const std::vector<std::string> &w) {
  double x[7];
  bool ok = w.size() == 8;
  for (int i = 0; ok && i < 7; ++i) ok = toNumber(w[i + 1], x[i]);
  if (!ok) {
    fault(r, "ELEMENTS needs 7 finite numbers (a e i node periapsis-longitude mean-longitude epoch); line skipped");
    return;
  }
  World *world = World::current();
  if (!world) return;
  const physics::Elements el{x[0], x[1], x[2] * kRadPerDeg, x[3] * kRadPerDeg, x[4] * kRadPerDeg, x[5] * kRadPerDeg,
                             x[6]};
  VECTOR3 pos, vel;
  if (!physics::stateFromElements(world->planet, el, world->mjdAt(0), pos, vel)) {
    fault(r, "ELEMENTS describe no orbit (a > 0 with e < 1, a < 0 with e > 1, a finite state); line skipped");
    return;
  }
  r.rpos = pos;
  r.rvel = vel;
  r.hasPosition = true;
}

void readStatus(LoadRecord &r, const std::vector<std::string> &w) {
  const std::string what = w.size() > 1 ? lower(w[1]) : "";
  if (what != "landed" && what != "orbiting") {
    fault(r, "STATUS must be Landed or Orbiting; line skipped");
    return;
  }
  r.status = what == "landed" ? LoadRecord::Status::Landed : LoadRecord::Status::Orbiting;
  r.statusLine = r.lines.lineNumber();
  if (w.size() != 3 || lower(w[2]) != "earth") fault(r, "the only body is Earth; taken as Earth");
}

// Set on the vessel at once, as the simulator does: a module that asks for the
// mode later in its own load finds it. The simulator takes any number; here a
// mode that is none of the three is an error.
void readRcsMode(LoadRecord &r, const std::vector<std::string> &w) {
  long mode = -1;
  if (w.size() != 2 || !toInt(w[1], mode) || mode < RCS_NONE || mode > RCS_LIN) {
    fault(r, "RCSMODE is 0 (off), 1 (rotation) or 2 (linear); line skipped");
    return;
  }
  r.vessel.attitudeMode = static_cast<int>(mode);
}

// "i:level ..." pairs; a pair that does not read is reported and passed over.
void readLevels(LoadRecord &r, const std::vector<std::string> &w, std::vector<LoadRecord::Level> &out) {
  for (size_t i = 1; i < w.size(); ++i) {
    const size_t colon = w[i].find(':');
    long index = -1;
    double level = 0;
    if (colon == std::string::npos || !toInt(w[i].substr(0, colon), index) || index < 0 || index > INT_MAX ||
        !toNumber(w[i].substr(colon + 1), level)) {
      fault(r, w[0] + ": \"" + w[i] + "\" is not index:level; passed over");
      continue;
    }
    out.push_back({static_cast<int>(index), std::clamp(level, 0.0, 1.0), r.lines.lineNumber()});
  }
}

bool parseDefaultKey(LoadRecord &r, const std::vector<std::string> &w) {
  const std::string key = lower(w[0]);
  for (const NumberKey &k : kNumberKeys) {
    if (key != lower(k.name)) continue;
    readNumbers(r, k, w);
    return true;
  }
  if (key == "status")
    readStatus(r, w);
  else if (key == "elements")
    readElements(r, w);
  else if (key == "rcsmode")
    readRcsMode(r, w);
  else if (key == "prplevel")
    readLevels(r, w, r.tankLevels);
  else if (key == "thlevel")
    readLevels(r, w, r.thrusterLevels);
  else
    return false;
  return true;
}

// Angles as the scenario writes them [deg]; a load multiplies them back by kRadPerDeg.
double inDegrees(double rad) { return rad / kRadPerDeg; }
VECTOR3 inDegrees(const VECTOR3 &rad) { return rad * (1 / kRadPerDeg); }

// What a load gives back of an angle written in degrees [rad].
double throughDegrees(double rad) { return inDegrees(rad) * kRadPerDeg; }
VECTOR3 throughDegrees(const VECTOR3 &rad) { return inDegrees(rad) * kRadPerDeg; }

std::string degrees(double rad) { return exactNumber(inDegrees(rad)); }

std::string vector(const VECTOR3 &v) { return exactNumber(v.x) + " " + exactNumber(v.y) + " " + exactNumber(v.z); }

// A tank as the scenario keeps it: its level, which a load clamps to [0, 1]
// and multiplies back by its capacity.
double levelOf(const Tank &t) { return t.maxMass > 0 ? t.mass / t.maxMass : 0; }

void writeLevels(ScenarioWriter &out, const char *key, const std::vector<std::pair<size_t, double>> &levels) {
  std::string text;
  for (const auto &l : levels)
    text += (text.empty() ? "" : " ") + std::to_string(l.first) + ":" + exactNumber(l.second);
  if (!text.empty()) out.item(key, text);
}

void writeState(const Vessel &v, ScenarioWriter &out) {
  if (v.landed) {
    out.item("STATUS", "Landed Earth");
    out.item("POS", degrees(v.surfLng) + " " + degrees(v.surfLat));
    out.item("HEADING", degrees(v.surfHeading));
  } else {
    out.item("STATUS", "Orbiting Earth");
    out.item("RPOS", vector(v.pos));
    out.item("RVEL", vector(v.vel));
    out.item("AROT", vector(inDegrees(physics::arotFromRot(v.rot))));
    out.item("VROT", vector(inDegrees(v.omega)));
  }
  if (v.attitudeMode != RCS_ROT) out.item("RCSMODE", std::to_string(v.attitudeMode));  // only when not the default
  std::vector<std::pair<size_t, double>> tanks, thrusters;
  for (size_t i = 0; i < v.tanks.size(); ++i) tanks.push_back({i, levelOf(v.tanks[i])});
  for (size_t i = 0; i < v.thrusters.size(); ++i)
    if (const double level = std::clamp(v.thrusters[i].permanent, 0.0, 1.0); level != 0)
      thrusters.push_back({i, level});
  writeLevels(out, "PRPLEVEL", tanks);
  writeLevels(out, "THLEVEL", thrusters);
}

}  // namespace

// The numbers themselves come back exactly (exactNumber); the angles went
// through degrees, the attitude through Euler angles and a tank's mass
// through its level.
void asSavedAndLoaded(World &w, Vessel &v) {
  for (Tank &t : v.tanks) t.mass = std::clamp(levelOf(t), 0.0, 1.0) * t.maxMass;
  if (v.landed) {
    physics::placeOnSurface(v, w.planet, throughDegrees(v.surfLng), throughDegrees(v.surfLat),
                            throughDegrees(v.surfHeading), w.planetTime());
  } else {
    v.rot = physics::rotFromArot(throughDegrees(physics::arotFromRot(v.rot)));
    v.omega = throughDegrees(v.omega);
  }
}

// Tank and thruster levels go by index into what the vessel has now, after its
// module's load has built it. An orbiting vessel without a position is an
// error; it keeps the state it was built with.
void applyRecord(World &w, const LoadRecord &r) {
  Vessel &v = r.vessel;
  const std::string &file = r.lines.file();
  if (r.status == LoadRecord::Status::Orbiting && !r.hasPosition) {
    w.log().error(v.name + " is orbiting with neither RPOS nor ELEMENTS; it keeps the state it was built with", file,
                  r.statusLine);
  } else if (r.status == LoadRecord::Status::Orbiting) {
    v.setFlying({r.rpos, r.rvel, physics::rotFromArot(r.arot), r.vrot});
  } else {
    physics::placeOnSurface(v, w.planet, r.lng, r.lat, r.heading, w.planetTime());
  }
  for (Tank &t : v.tanks) t.mass = 0;
  for (Thruster &t : v.thrusters) t.permanent = t.level = 0;
  if (r.tankLevels.empty() && !v.tanks.empty())
    w.log().warning(v.name + " lists no PRPLEVEL: its tanks start empty, as the simulator loads it", file,
                    r.headerLine);
  for (const LoadRecord::Level &l : r.tankLevels) {
    if (l.index < static_cast<int>(v.tanks.size()))
      v.tanks[l.index].mass = l.level * v.tanks[l.index].maxMass;
    else
      w.log().warning(v.name + " has no tank " + std::to_string(l.index) + "; level passed over", file, l.line);
  }
  for (const LoadRecord::Level &l : r.thrusterLevels) {
    if (l.index < static_cast<int>(v.thrusters.size())) {
      // As the simulator's Vessel::SetState2 applies a listed level.
      Thruster &t = v.thrusters[l.index];
      t.permanent = l.level;
      t.level = std::min(1.0, l.level + t.override);
    } else
      w.log().warning(v.name + " has no thruster " + std::to_string(l.index) + "; level passed over", file, l.line);
  }
}

}  // namespace sim

// Keys the host does not know are passed over without complaint: modules hand
// every line on, their own keys included.
void VESSEL::ParseScenarioLineEx(char *line, void *status) const {
  sim::Vessel *v = sim::api::self(this, "ParseScenarioLineEx");
  sim::LoadRecord *r = sim::activeScenarioCall().record;
  if (!v || !line) return;
  if (!status || status != r || &r->vessel != v) {
    sim::api::refuse("VESSEL::ParseScenarioLineEx: " + v->name + " gave a status pointer of no load under way");
    return;
  }
  const std::vector<std::string> w = sim::words(sim::withoutComment(line));
  if (w.empty() || sim::parseDefaultKey(*r, w)) return;
  sim::World::current()->noteUnknownLine(*v, {r->lines.lineNumber(), sim::trim(line)});
}

void VESSEL::SaveDefaultState(FILEHANDLE scn) const {
  sim::Vessel *v = sim::api::self(this, "SaveDefaultState");
  sim::ScenarioWriter *out = sim::activeScenarioCall().writer;
  if (!v) return;
  if (!scn || scn != out) {
    sim::api::refuse("VESSEL::SaveDefaultState: " + v->name + " gave a handle of no save under way");
    return;
  }
  sim::writeState(*v, *out);
}
