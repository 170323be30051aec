// The flight summary, read back as it is written: one event or vessel to a
// line. Whole, it must be JSON in its structure: brackets close in order
// outside strings, and strings hold only valid escapes and no raw control
// character. Values are then read off a line by their key.
#pragma once

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

inline bool wellFormedJson(const std::string &t) {
  std::string open;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '"') {
      for (++i; i < t.size() && t[i] != '"'; ++i) {
        if (static_cast<unsigned char>(t[i]) < 0x20) return false;
        if (t[i] == '\\' && (++i == t.size() || !std::strchr("\"\\/bfnrtu", t[i]))) return false;
      }
      if (i == t.size()) return false;
    } else if (t[i] == '{' || t[i] == '[') {
      open += t[i] == '{' ? '}' : ']';
    } else if (t[i] == '}' || t[i] == ']') {
      if (open.empty() || open.back() != t[i]) return false;
      open.pop_back();
    }
  }
  return open.empty();
}

// The value of "key" as written: a number, null, an array, or a string with
// its quotes and escapes; empty when the line has no such key.
inline std::string valueOf(const std::string &line, const std::string &key) {
  const size_t at = line.find("\"" + key + "\": ");
  if (at == std::string::npos) return "";
  const size_t from = at + key.size() + 4;
  size_t to = from + 1;
  if (line[from] != '"') {
    to = line[from] == '[' ? line.find(']', from) + 1 : line.find_first_of(",}", from);
  } else {
    while (line[to] != '"') to += line[to] == '\\' ? 2 : 1;
    ++to;
  }
  return line.substr(from, to - from);
}

inline bool isNumber(const std::string &value) {
  char *end = nullptr;
  std::strtod(value.c_str(), &end);
  return !value.empty() && *end == '\0';
}
inline double numberOf(const std::string &line, const std::string &key) {
  return std::atof(valueOf(line, key).c_str());
}
inline std::string stringOf(const std::string &line, const std::string &key) {
  const std::string v = valueOf(line, key);
  return v.size() >= 2 && v[0] == '"' ? v.substr(1, v.size() - 2) : "(not a string: " + v + ")";
}

// The element lines of a top-level array.
inline std::vector<std::string> elementsOf(const std::string &summary, const std::string &array) {
  std::istringstream in(summary.substr(summary.find("\"" + array + "\": [")));
  std::vector<std::string> lines;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line) && line.find_first_not_of(' ') != line.find(']')) lines.push_back(line);
  return lines;
}
