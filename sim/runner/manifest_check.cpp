#include "manifest_check.h"

#include <cmath>

#include "../classfile.h"
#include "../mesh.h"
#include "../module.h"
#include "../text.h"

namespace sim {
namespace runner {
namespace {

const int kMaxEntries = 50;   // a carrier's manifest table
const size_t kMaxWord = 127;  // [characters] of a name, mesh or class
const char *const kFields[9] = {"name", "mesh", "class", "x", "y", "z", "mass", "angle", "fuel"};

// A log line without its "ERROR " mark: the problem itself.
std::string withoutMark(const std::string &line) {
  const std::string mark = "ERROR ";
  return line.rfind(mark, 0) == 0 ? line.substr(mark.size()) : line;
}

class BlockCheck {
 public:
  BlockCheck(const std::string &scenario, const std::string &root) : scenario_(scenario), root_(root) {}

  void line(const ScenarioLine &l) {
    const std::vector<std::string> w = words(l.text);
    const std::string &key = w.front();
    if (key == "PAYLOAD" || key == "STAGE") {
      entry(l, key);
    } else if (key == "ENDSTAGE" || key == "ENDCVE") {
      if (open_.empty())
        problem(l.number, key + " closes no STAGE");
      else
        open_.pop_back();
    } else if (lower(key) == "payload" || lower(key) == "stage" || lower(key) == "endstage") {
      problem(l.number, "\"" + key + "\" is not read as a manifest line: the keywords are upper case");
    }
  }

  std::vector<std::string> finish() {
    for (int line : open_) problem(line, "STAGE is never closed by ENDSTAGE");
    return std::move(problems_);
  }

 private:
  const std::string &scenario_;
  const std::string &root_;
  std::vector<std::string> problems_;
  std::vector<int> open_;  // lines of the stages still open
  int entries_ = 0;

  void problem(int line, const std::string &text) {
    problems_.push_back(scenario_ + ":" + std::to_string(line) + ": " + text);
  }

  void entry(const ScenarioLine &l, const std::string &key) {
    if (key == "STAGE") open_.push_back(l.number);
    if (++entries_ > kMaxEntries) {
      problem(l.number, "more than " + std::to_string(kMaxEntries) + " manifest entries; this one is ignored");
      return;
    }
    if (l.text.size() <= key.size() || l.text[key.size()] != ' ') {
      problem(l.number, key + " must be followed by one blank and nine fields: name mesh class x y z mass angle fuel");
      return;
    }
    const std::vector<std::string> f = words(l.text.substr(key.size()));
    if (f.size() != 9) {
      problem(l.number,
              key + " needs nine fields (name mesh class x y z mass angle fuel), found " + std::to_string(f.size()));
      return;
    }
    if (!fieldsRead(l.number, f)) return;
    mesh(l.number, f[0], f[1]);
    vesselClass(l.number, f[0], f[2]);
  }

  bool fieldsRead(int line, const std::vector<std::string> &f) {
    bool ok = true;
    for (int i = 0; i < 3; ++i)
      if (f[i].size() > kMaxWord) {
        problem(line, std::string(kFields[i]) + " longer than " + std::to_string(kMaxWord) + " characters");
        ok = false;
      }
    double x[9];
    for (int i = 3; i < 9; ++i)
      if (!toNumber(f[i], x[i]) || !std::isfinite(x[i])) {
        problem(line, std::string(kFields[i]) + " \"" + f[i] + "\" is not a number");
        ok = false;
      }
    if (!ok) return false;
    if (x[6] < 0) problem(line, "mass " + f[6] + " kg is negative");
    if (x[8] < 0 || x[8] > 1) problem(line, "fuel " + f[8] + " is not a fraction between 0 and 1");
    return true;
  }

  // The mesh reader logs why it failed; that reason goes into the problem.
  void mesh(int line, const std::string &payload, const std::string &name) {
    Log scratch("");
    if (!readMesh(root_ + "/Meshes/" + namePath(name) + ".msh", name, scratch))
      problem(line, "payload " + payload + ": " + withoutMark(scratch.lines().back()));
  }

  void vesselClass(int line, const std::string &payload, const std::string &name) {
    const std::string path = root_ + "/Config/Vessels/" + namePath(name) + ".cfg";
    Log scratch("");
    const std::unique_ptr<ClassFile> cf = ClassFile::read(path, scratch);
    if (!cf) {
      problem(line, "payload " + payload + ": class \"" + name + "\" has no class file " + path);
      return;
    }
    const std::string where = " (class of payload " + payload + ", " + scenario_ + ":" + std::to_string(line) + ")";
    for (const std::string &e : scratch.lines()) problems_.push_back(withoutMark(e) + where);
    if (cf->has("Module") && !Module::open(cf->text("Module")))
      problems_.push_back(path + ":" + std::to_string(cf->line("Module")) + ": module \"" + cf->text("Module") +
                          "\" will not load" + where);
    if (cf->has("MeshName")) {
      Log meshLog("");
      const std::string mesh = cf->text("MeshName");
      if (!readMesh(root_ + "/Meshes/" + namePath(mesh) + ".msh", mesh, meshLog))
        problems_.push_back(path + ":" + std::to_string(cf->line("MeshName")) + ": " +
                            withoutMark(meshLog.lines().back()) + where);
    }
  }
};

}  // namespace

std::vector<std::string> checkManifest(const std::string &scenario, const VesselBlock &block, const std::string &root) {
  BlockCheck check(scenario, root);
  for (const ScenarioLine &l : block.lines)
    if (!words(l.text).empty()) check.line(l);
  return check.finish();
}

}  // namespace runner
}  // namespace sim
