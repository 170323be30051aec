// Writing JSON by hand: quoted strings with every character JSON requires
// escaped, numbers that read back exactly, and objects built field by field.
#pragma once

#include <string>
#include <vector>

namespace sim {
namespace runner {

std::string jsonString(const std::string &s);
// The shortest text that reads back as x; null for NaN and infinities, which JSON lacks.
std::string jsonNumber(double x);

// The members of one object, written "{"a": 1, "b": "x"}" on one line.
class JsonObject {
 public:
  JsonObject &raw(const std::string &key, const std::string &json);
  JsonObject &text(const std::string &key, const std::string &value) { return raw(key, jsonString(value)); }
  JsonObject &number(const std::string &key, double value) { return raw(key, jsonNumber(value)); }
  JsonObject &null(const std::string &key) { return raw(key, "null"); }
  std::string str() const { return "{" + body_ + "}"; }

 private:
  std::string body_;
};

// Items already written as JSON, as an array on one line.
std::string jsonArray(const std::vector<std::string> &items);

}  // namespace runner
}  // namespace sim
