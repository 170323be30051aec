// A small strict JSON reader, enough to read a summary back and check its
// structure: any text it accepts is valid JSON.
#pragma once

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace runner_test {

struct Json {
  enum class Type { null, boolean, number, string, array, object } type = Type::null;
  bool boolean = false;
  double number = 0;
  std::string string;
  std::vector<Json> array;
  std::map<std::string, Json> object;

  bool has(const std::string &key) const { return object.count(key) != 0; }
  const Json &operator[](const std::string &key) const { return object.at(key); }
  const Json &operator[](size_t i) const { return array.at(i); }
};

class JsonReader {
 public:
  static Json parse(const std::string &text) {
    JsonReader r(text);
    Json v = r.value();
    r.blank();
    if (r.at_ != text.size()) r.fail("text after the value");
    return v;
  }

 private:
  explicit JsonReader(const std::string &t) : t_(t) {}
  const std::string &t_;
  size_t at_ = 0;

  [[noreturn]] void fail(const std::string &what) {
    throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(at_));
  }
  void blank() {
    while (at_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[at_]))) ++at_;
  }
  bool take(char c) {
    blank();
    if (at_ < t_.size() && t_[at_] == c) return ++at_, true;
    return false;
  }
  void expect(char c) {
    if (!take(c)) fail(std::string("expected '") + c + "'");
  }
  bool word(const char *w) {
    const std::string s(w);
    if (t_.compare(at_, s.size(), s) != 0) return false;
    at_ += s.size();
    return true;
  }

  Json value() {
    blank();
    Json v;
    if (at_ == t_.size()) fail("missing value");
    const char c = t_[at_];
    if (c == '{') return object();
    if (c == '[') return array();
    if (c == '"') {
      v.type = Json::Type::string;
      v.string = string();
    } else if (word("null")) {
      v.type = Json::Type::null;
    } else if (word("true") || word("false")) {
      v.type = Json::Type::boolean;
      v.boolean = t_[at_ - 1] == 'e' && t_[at_ - 2] == 'u';
    } else {
      v.type = Json::Type::number;
      v.number = number();
    }
    return v;
  }

  double number() {
    const size_t start = at_;
    if (t_[at_] == '-') ++at_;
    if (at_ == t_.size() || !std::isdigit(static_cast<unsigned char>(t_[at_]))) fail("bad number");
    if (t_[at_] == '0' && at_ + 1 < t_.size() && std::isdigit(static_cast<unsigned char>(t_[at_ + 1])))
      fail("leading zero");
    while (at_ < t_.size() && (std::isdigit(static_cast<unsigned char>(t_[at_])) || std::strchr(".eE+-", t_[at_])))
      ++at_;
    char *end = nullptr;
    const std::string s = t_.substr(start, at_ - start);
    const double x = std::strtod(s.c_str(), &end);
    if (*end != '\0') fail("bad number " + s);
    return x;
  }

  std::string string() {
    expect('"');
    std::string s;
    while (at_ < t_.size() && t_[at_] != '"') {
      const char c = t_[at_++];
      if (static_cast<unsigned char>(c) < 0x20) fail("raw control character in a string");
      if (c != '\\') {
        s += c;
        continue;
      }
      if (at_ == t_.size()) fail("cut escape");
      const char e = t_[at_++];
      const char *plain = std::strchr("\"\\/bfnrt", e);
      if (!plain && e != 'u') fail("bad escape");
      if (e == 'u') {
        if (at_ + 4 > t_.size()) fail("cut \\u escape");
        s += static_cast<char>(std::strtol(t_.substr(at_, 4).c_str(), nullptr, 16));
        at_ += 4;
      } else {
        s += "\"\\/\b\f\n\r\t"[plain - "\"\\/bfnrt"];
      }
    }
    expect('"');
    return s;
  }

  Json array() {
    Json v;
    v.type = Json::Type::array;
    expect('[');
    if (take(']')) return v;
    do v.array.push_back(value());
    while (take(','));
    expect(']');
    return v;
  }

  Json object() {
    Json v;
    v.type = Json::Type::object;
    expect('{');
    if (take('}')) return v;
    do {
      blank();
      const std::string key = string();
      expect(':');
      v.object[key] = value();
    } while (take(','));
    expect('}');
    return v;
  }
};

}  // namespace runner_test
