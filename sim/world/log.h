// The host's log file, like the simulator's: module loads, vessel creations,
// and every error or refused input with the file and line it came from.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace sim {

class Log {
 public:
  // An empty path keeps the log in memory only; append adds to the file.
  explicit Log(const std::string &path, bool append = false);
  ~Log();
  void info(const std::string &text);
  // An error, placed at file:line when known (line 0: the whole file).
  void error(const std::string &text, const std::string &file = "", int line = 0);
  // What the simulator itself would pass over without a word, but a person
  // should hear of: placed as an error is, counted apart.
  void warning(const std::string &text, const std::string &file = "", int line = 0);
  // A handle, pointer or index given by a module that names nothing live: an
  // error of its own kind, counted apart so a test can require there were none.
  void refused(const std::string &text);
  const std::vector<std::string> &lines() const { return lines_; }
  // Errors and warnings as "FILE:LINE: text", without their marks, in order.
  const std::vector<std::string> &errors() const { return errorTexts_; }
  const std::vector<std::string> &warnings() const { return warningTexts_; }
  int errorCount() const { return errors_; }
  int refusedCount() const { return refused_; }
  bool contains(const std::string &fragment) const;

 private:
  std::FILE *file_ = nullptr;
  std::vector<std::string> lines_, errorTexts_, warningTexts_;
  int errors_ = 0;
  int refused_ = 0;
  void write(const std::string &line);
};

}  // namespace sim
