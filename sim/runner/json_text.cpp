#include "json_text.h"

#include <cmath>
#include <cstdio>

#include "../text.h"

namespace sim {
namespace runner {

std::string jsonString(const std::string &s) {
  std::string out = "\"";
  for (const char c : s) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char esc[8];
          std::snprintf(esc, sizeof esc, "\\u%04x", static_cast<unsigned>(c));
          out += esc;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string jsonNumber(double x) { return std::isfinite(x) ? exactNumber(x) : "null"; }

JsonObject &JsonObject::raw(const std::string &key, const std::string &json) {
  if (!body_.empty()) body_ += ", ";
  body_ += jsonString(key) + ": " + json;
  return *this;
}

std::string jsonArray(const std::vector<std::string> &items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i];
  return out + "]";
}

}  // namespace runner
}  // namespace sim
