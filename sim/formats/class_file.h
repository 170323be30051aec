// A vessel class file, Config/Vessels/<class>.cfg: "Key = value" lines, keys
// compared without regard to case, ';' starting a comment. Its address is the
// FILEHANDLE that clbkSetClassCaps receives.
//
// A world reads each class file once and uses it for every vessel of the
// class (Resources::classFile); the lines it skipped are logged again at each
// use, so that the log tells of each vessel what a read of its own would.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/world/log.h"

namespace sim {

class ClassFile {
 public:
  // Null, with the reason logged, when the file cannot be opened; each line
  // that is not "Key = value" is logged as skipped.
  static std::unique_ptr<ClassFile> read(const std::string &path, Log &log);
  // Logs the skipped lines again, as read did.
  void tellSkipped(Log &log) const;

  const std::string &path() const { return path_; }
  bool has(const std::string &key) const;
  std::string text(const std::string &key) const;  // empty when absent
  int line(const std::string &key) const;          // 0 when absent
  // Reads exactly n numbers of the key into out; logs file:line and returns
  // false when the key is there but its value is not n numbers.
  bool numbers(const std::string &key, double *out, int n, Log &log) const;

 private:
  struct Entry {
    std::string value;
    int line = 0;
    // The value's words as numbers, read once for every vessel of the class;
    // empty unless every word is one.
    std::vector<double> numbers;
  };
  std::string path_;
  std::map<std::string, Entry> entries_;  // by lower-case key; a later line wins
  std::vector<int> skipped_;              // lines that are not "Key = value"
  const Entry *find(const std::string &key) const;
};

}  // namespace sim
