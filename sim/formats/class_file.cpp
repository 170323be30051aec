#include "sim/formats/class_file.h"

#include <algorithm>
#include <fstream>

#include "sim/formats/text.h"

namespace sim {

std::unique_ptr<ClassFile> ClassFile::read(const std::string &path, Log &log) {
  std::ifstream in(path);
  if (!in) {
    log.error("cannot open the class file", path);
    return nullptr;
  }
  std::unique_ptr<ClassFile> cf(new ClassFile);
  cf->path_ = path;
  int number = 0;
  for (std::string raw; std::getline(in, raw);) {
    ++number;
    const std::string line = trim(withoutComment(raw));
    if (line.empty()) continue;
    const size_t eq = line.find('=');
    if (eq == std::string::npos) {
      cf->skipped_.push_back(number);
      continue;
    }
    Entry &e = cf->entries_[lower(trim(line.substr(0, eq)))] = {trim(line.substr(eq + 1)), number, {}};
    for (const std::string &w : words(e.value)) {
      double x = 0;
      if (!toNumber(w, x)) {
        e.numbers.clear();
        break;
      }
      e.numbers.push_back(x);
    }
  }
  cf->tellSkipped(log);
  return cf;
}

void ClassFile::tellSkipped(Log &log) const {
  for (int number : skipped_) log.error("expected \"Key = value\", skipped", path_, number);
}

const ClassFile::Entry *ClassFile::find(const std::string &key) const {
  auto it = entries_.find(lower(key));
  return it == entries_.end() ? nullptr : &it->second;
}

bool ClassFile::has(const std::string &key) const { return find(key) != nullptr; }

std::string ClassFile::text(const std::string &key) const {
  const Entry *e = find(key);
  return e ? e->value : "";
}

int ClassFile::line(const std::string &key) const {
  const Entry *e = find(key);
  return e ? e->line : 0;
}

bool ClassFile::numbers(const std::string &key, double *out, int n, Log &log) const {
  const Entry *e = find(key);
  if (!e) return false;
  const bool ok = static_cast<int>(e->numbers.size()) == n;
  if (ok) std::copy(e->numbers.begin(), e->numbers.end(), out);
  if (!ok) log.error(key + " needs " + std::to_string(n) + " number(s), got \"" + e->value + "\"", path_, e->line);
  return ok;
}

}  // namespace sim
