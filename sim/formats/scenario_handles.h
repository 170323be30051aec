// The host-side objects behind the handles of scenario loading and saving: the
// FILEHANDLE and status pointer that ovcLoadStateEx gets, and the FILEHANDLE of
// ovcSaveState. Only the handles of the call under way are accepted.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "sim/formats/scenario_file.h"
#include "sim/world/vessel.h"

namespace sim {

class World;

// A vessel's lines, handed out one by one by oapiReadScenario_nextline.
class VesselLines {
 public:
  VesselLines(const std::string &file, const std::vector<ScenarioLine> &lines) : file_(file), lines_(lines) {}
  bool next(char *&line);
  const std::string &file() const { return file_; }
  int lineNumber() const { return current_; }                             // of the line last handed out
  const std::string &lineText() const { return lines_[next_ - 1].text; }  // as read, whatever the module did to it

 private:
  std::string file_;
  const std::vector<ScenarioLine> &lines_;
  size_t next_ = 0;
  int current_ = 0;
  std::string buffer_;  // the module may write into the line it was given
};

// What a block's default state keys said; applied once the module's load returns.
struct LoadRecord {
  struct Level {
    int index;
    double level;  // [0..1]
    int line;
  };
  LoadRecord(Vessel &v, const VesselLines &l, int header) : vessel(v), lines(l), headerLine(header) {}
  Vessel &vessel;
  const VesselLines &lines;
  int headerLine;  // of the block's "Name:Class" line
  enum class Status { None, Landed, Orbiting } status = Status::None;
  int statusLine = 0;
  double lng = 0, lat = 0, heading = 0;  // [rad]
  double alt = 0;                        // [m]; kept only: a landed vessel rests on its touchdown points
  VECTOR3 rpos{}, rvel{};                // [m], [m/s], from RPOS and RVEL or from ELEMENTS
  bool hasPosition = false;
  VECTOR3 arot{}, vrot{};  // [rad], [rad/s]
  std::vector<Level> tankLevels, thrusterLevels;
};

// Puts the vessel in the state the record holds, as the simulator does: every
// tank empty and every thruster off, then the levels listed.
void applyRecord(World &w, const LoadRecord &r);

// The vessel as a save writes it and a load reads it back: the scenario keeps
// angles in degrees, the attitude as Euler angles and a tank as its level,
// which need not give back the last bit.
void asSavedAndLoaded(World &w, Vessel &v);

class ScenarioWriter {
 public:
  explicit ScenarioWriter(std::string &out) : out_(out) {}
  void item(const std::string &key, const std::string &value);  // "  KEY value"
  void line(const std::string &text);

 private:
  std::string &out_;
};

// The handles of the load or save under way (null outside one).
struct ScenarioCall {
  VesselLines *lines = nullptr;
  LoadRecord *record = nullptr;
  ScenarioWriter *writer = nullptr;
};
ScenarioCall &activeScenarioCall();

}  // namespace sim
