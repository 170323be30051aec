#include "sim/runner/report/csv_table.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace sim {
namespace runner {
namespace {

class Reader {
 public:
  Reader(const std::string &text, const std::string &file) : text_(text), file_(file) {}

  // The next record's fields; false at the end of the text.
  bool record(std::vector<std::string> &fields, int &line) {
    fields.clear();
    if (at_ == text_.size()) return false;
    line = line_;
    for (;;) {
      fields.push_back(field());
      if (at_ == text_.size()) return true;
      const char c = text_[at_++];
      if (c == '\n') {
        ++line_;
        return true;
      }
    }
  }

 private:
  const std::string &text_;
  const std::string &file_;
  size_t at_ = 0;
  int line_ = 1;

  [[noreturn]] void fail(int line, const std::string &what) const {
    throw std::runtime_error(file_ + ":" + std::to_string(line) + ": " + what);
  }

  std::string field() {
    std::string f;
    if (at_ < text_.size() && text_[at_] == '"') {
      const int opened = line_;
      for (++at_;; ++at_) {
        if (at_ == text_.size()) fail(opened, "a quote opened here is not closed");
        if (text_[at_] == '\n') ++line_;
        if (text_[at_] != '"') {
          f += text_[at_];
        } else if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
          f += '"';
          ++at_;
        } else {
          break;
        }
      }
      ++at_;
      if (at_ < text_.size() && text_[at_] == '\r') ++at_;
      if (at_ < text_.size() && text_[at_] != ',' && text_[at_] != '\n')
        fail(line_, "a quoted field goes on after its closing quote");
      return f;
    }
    while (at_ < text_.size() && text_[at_] != ',' && text_[at_] != '\n') f += text_[at_++];
    if (!f.empty() && f.back() == '\r') f.pop_back();
    return f;
  }
};

}  // namespace

size_t CsvTable::column(const std::string &name) const {
  for (size_t i = 0; i < header.size(); ++i)
    if (header[i] == name) return i;
  throw std::runtime_error(file + ": no column \"" + name + "\" in its header");
}

CsvTable readCsv(const std::string &path, const std::string &shownName) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  const std::string all = text.str();
  CsvTable t;
  t.file = shownName;
  Reader r(all, shownName);
  int line = 1;
  if (!r.record(t.header, line)) throw std::runtime_error(shownName + ": empty, not even a header");
  std::vector<std::string> fields;
  while (r.record(fields, line)) {
    if (fields.size() != t.header.size())
      throw std::runtime_error(shownName + ":" + std::to_string(line) + ": " + std::to_string(fields.size()) +
                               " fields where the header has " + std::to_string(t.header.size()));
    t.rows.push_back(fields);
    t.lines.push_back(line);
  }
  return t;
}

}  // namespace runner
}  // namespace sim
