// The host's log: every line goes to the file at once (so a crash leaves the
// story behind) and is kept in memory for tests.
#include "sim/world/log.h"

namespace sim {

Log::Log(const std::string &path, bool append) {
  if (!path.empty()) file_ = std::fopen(path.c_str(), append ? "a" : "w");
}

Log::~Log() {
  if (file_) std::fclose(file_);
}

void Log::write(const std::string &line) {
  lines_.push_back(line);
  if (!file_) return;
  std::fputs(line.c_str(), file_);
  std::fputc('\n', file_);
  std::fflush(file_);
}

void Log::info(const std::string &text) { write(text); }

namespace {

std::string placed(const std::string &text, const std::string &file, int line) {
  if (file.empty()) return text;
  return (line > 0 ? file + ":" + std::to_string(line) + ": " : file + ": ") + text;
}

}  // namespace

void Log::error(const std::string &text, const std::string &file, int line) {
  ++errors_;
  errorTexts_.push_back(placed(text, file, line));
  write("ERROR " + errorTexts_.back());
}

void Log::warning(const std::string &text, const std::string &file, int line) {
  warningTexts_.push_back(placed(text, file, line));
  write("WARNING " + warningTexts_.back());
}

void Log::refused(const std::string &text) {
  ++refused_;
  error("refused: " + text);
}

bool Log::contains(const std::string &fragment) const {
  for (const std::string &l : lines_)
    if (l.find(fragment) != std::string::npos) return true;
  return false;
}

}  // namespace sim
