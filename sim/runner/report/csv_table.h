// A CSV file of the flight record read whole, as the runner writes them:
// a header line, then rows of as many fields; a field holding a comma, a
// quote or a line break is quoted, with its quotes doubled.
#pragma once

#include <string>
#include <vector>

namespace sim {
namespace runner {

struct CsvTable {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
  std::vector<int> lines;  // the line of the file each row begins on
  // The index of the named column; throws, naming the file, when there is none.
  size_t column(const std::string &name) const;
  std::string file;  // as named in messages
};

// Throws std::runtime_error "FILE:LINE: what" for a file that cannot be read,
// a quote left open or a row whose fields do not match the header.
CsvTable readCsv(const std::string &path, const std::string &shownName);

}  // namespace runner
}  // namespace sim
