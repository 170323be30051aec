#include "sim/formats/mesh.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <stdexcept>

#include "sim/formats/text.h"

namespace sim {
namespace {

// A fault at a line of the file; the reader gives up on the whole mesh.
struct Malformed : std::runtime_error {
  int line;
  Malformed(const std::string &what, int at) : std::runtime_error(what), line(at) {}
};

// The file's lines without comments and blank lines, with their numbers.
class Lines {
 public:
  explicit Lines(std::ifstream &in) {
    int n = 0;
    for (std::string raw; std::getline(in, raw);) {
      ++n;
      std::string t = trim(withoutComment(raw));
      if (!t.empty()) lines_.push_back({n, words(t)});
    }
  }
  bool atEnd() const { return next_ == lines_.size(); }
  const std::vector<std::string> &peek() const { return lines_[next_].words; }
  const std::vector<std::string> &take(const char *expected) {
    if (atEnd()) throw Malformed(std::string("file ends where ") + expected + " should be", lastLine());
    return lines_[next_++].words;
  }
  int line() const { return atEnd() ? lastLine() : lines_[next_].number; }
  int taken() const { return next_ ? lines_[next_ - 1].number : 0; }

 private:
  struct Line {
    int number;
    std::vector<std::string> words;
  };
  std::vector<Line> lines_;
  size_t next_ = 0;
  int lastLine() const { return lines_.empty() ? 1 : lines_.back().number; }
};

bool isKey(const std::vector<std::string> &w, const char *key) { return !w.empty() && lower(w[0]) == lower(key); }

// A count is kept as an int, as the simulator keeps it; a larger one would wrap.
long count(Lines &in, const std::vector<std::string> &w, size_t at, const char *what) {
  long n = 0;
  if (w.size() <= at || !toInt(w[at], n) || n < 0 || n > std::numeric_limits<int>::max())
    throw Malformed(std::string("bad ") + what + (w.size() > at ? " \"" + w[at] + "\"" : ""), in.taken());
  return n;
}

double number(Lines &in, const std::string &s) {
  double x = 0;
  if (!toNumber(s, x)) throw Malformed("\"" + s + "\" is not a number", in.taken());
  return x;
}

void readVertices(Lines &in, long n, Mesh &m) {
  for (long i = 0; i < n; ++i) {
    const std::vector<std::string> &w = in.take("a vertex");
    if (w.size() < 3) throw Malformed("a vertex needs x y z", in.taken());
    VECTOR3 p{};
    for (size_t k = 0; k < w.size(); ++k) {
      const double x = number(in, w[k]);
      if (k < 3) p.data[k] = x;
    }
    const bool first = m.vertexCount() == 0 && i == 0;
    for (int k = 0; k < 3; ++k) {
      m.boxMin.data[k] = first ? p.data[k] : std::min(m.boxMin.data[k], p.data[k]);
      m.boxMax.data[k] = first ? p.data[k] : std::max(m.boxMax.data[k], p.data[k]);
    }
  }
}

void readTriangles(Lines &in, long n, long vertices) {
  for (long i = 0; i < n; ++i) {
    const std::vector<std::string> &w = in.take("a triangle");
    if (w.size() != 3) throw Malformed("a triangle needs three vertex indices", in.taken());
    for (const std::string &s : w) {
      long idx = -1;
      if (!toInt(s, idx) || idx < 0 || idx >= vertices)
        throw Malformed("vertex index " + s + " out of range 0.." + std::to_string(vertices - 1), in.taken());
    }
  }
}

// One group: its optional settings, then GEOM and the geometry.
MeshGroup readGroup(Lines &in, Mesh &m) {
  MeshGroup g;
  for (;;) {
    const std::vector<std::string> &w = in.take("GEOM");
    const std::string key = lower(w[0]);
    const std::string rest = w.size() > 1 ? w[1] : "";
    if (key == "geom") {
      g.vertices = static_cast<int>(count(in, w, 1, "vertex count"));
      g.triangles = static_cast<int>(count(in, w, 2, "triangle count"));
      break;
    }
    if (key == "label") g.label = rest;
    if (key == "material") g.material = static_cast<int>(count(in, w, 1, "material index"));
    if (key == "texture") g.texture = static_cast<int>(count(in, w, 1, "texture index"));
    if (key == "nonormal") g.noNormals = true;
    if (key == "flag") g.flags = std::strtoul(rest.c_str(), nullptr, 16);
  }
  readVertices(in, g.vertices, m);
  readTriangles(in, g.triangles, g.vertices);
  return g;
}

void readMaterials(Lines &in, Mesh &m) {
  const long n = count(in, in.take("MATERIALS"), 1, "material count");
  for (long i = 0; i < n; ++i) m.materials.push_back(in.take("a material name")[0]);
  for (long i = 0; i < n; ++i) {
    if (!isKey(in.take("MATERIAL"), "MATERIAL")) throw Malformed("expected MATERIAL", in.taken());
    for (int c = 0; c < 4; ++c) {
      const std::vector<std::string> &w = in.take("a colour");
      if (w.size() < 4 || w.size() > 5) throw Malformed("a colour needs r g b a [power]", in.taken());
      for (const std::string &s : w) number(in, s);
    }
  }
}

void readTextures(Lines &in, Mesh &m) {
  const long n = count(in, in.take("TEXTURES"), 1, "texture count");
  for (long i = 0; i < n; ++i) m.textures.push_back(in.take("a texture name")[0]);
}

std::unique_ptr<Mesh> parse(Lines &in, const std::string &name) {
  auto m = std::make_unique<Mesh>();
  m->name = name;
  if (in.atEnd() || !isKey(in.take("MSHX1"), "MSHX1")) throw Malformed("not a mesh: MSHX1 expected", in.taken());
  const std::vector<std::string> &head = in.take("GROUPS");
  if (!isKey(head, "GROUPS")) throw Malformed("GROUPS expected", in.taken());
  const long groups = count(in, head, 1, "group count");
  std::vector<int> groupLines;
  for (long i = 0; i < groups; ++i) {
    groupLines.push_back(in.line());
    m->groups.push_back(readGroup(in, *m));
  }
  if (!in.atEnd() && isKey(in.peek(), "MATERIALS")) readMaterials(in, *m);
  if (!in.atEnd() && isKey(in.peek(), "TEXTURES")) readTextures(in, *m);
  for (size_t i = 0; i < m->groups.size(); ++i) {
    const MeshGroup &g = m->groups[i];
    if (g.material > static_cast<int>(m->materials.size()))
      throw Malformed("group names material " + std::to_string(g.material) + ", which the file lacks", groupLines[i]);
    if (g.texture > static_cast<int>(m->textures.size()))
      throw Malformed("group names texture " + std::to_string(g.texture) + ", which the file lacks", groupLines[i]);
  }
  return m;
}

}  // namespace

int Mesh::vertexCount() const {
  int n = 0;
  for (const MeshGroup &g : groups) n += g.vertices;
  return n;
}

int Mesh::triangleCount() const {
  int n = 0;
  for (const MeshGroup &g : groups) n += g.triangles;
  return n;
}

std::unique_ptr<Mesh> readMesh(const std::string &path, const std::string &name, Log &log) {
  std::ifstream in(path);
  if (!in) {
    log.error("cannot open mesh \"" + name + "\"", path);
    return nullptr;
  }
  Lines lines(in);
  try {
    return parse(lines, name);
  } catch (const Malformed &e) {
    log.error(std::string("malformed mesh: ") + e.what(), path, e.line);
    return nullptr;
  }
}

}  // namespace sim
