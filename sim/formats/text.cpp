#include "sim/formats/text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sim/platform/float_traps.h"

namespace sim {

std::string trim(const std::string &s) {
  const char *blank = " \t\r\n";
  const size_t b = s.find_first_not_of(blank);
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(blank) - b + 1);
}

std::string lower(std::string s) {
  for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string withoutComment(const std::string &s) { return s.substr(0, s.find(';')); }

// Split where a stream's >> splits in the classic locale, without a stream:
// every line of a mesh file comes through here.
std::vector<std::string> words(const std::string &s) {
  const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };  // \t \n \v \f \r
  size_t count = 0;
  for (size_t i = 0; i < s.size(); ++i) count += !blank(s[i]) && (i == 0 || blank(s[i - 1]));
  std::vector<std::string> out;
  out.reserve(count);
  for (auto at = s.begin();;) {
    at = std::find_if_not(at, s.end(), blank);
    if (at == s.end()) return out;
    const auto end = std::find_if(at, s.end(), blank);
    out.emplace_back(at, end);
    at = end;
  }
}

namespace {

// Below 300 characters a decimal without an exponent lies between 1e-300 and
// 1e300, where strtod raises no fault.
bool shortPlainDecimal(const char *text) {
  for (int n = 0; n < 300; ++n, ++text) {
    if (*text == '\0') return true;
    const char c = *text;
    if (!(c >= '0' && c <= '9') && c != '.' && c != '-' && c != '+') return false;
  }
  return false;
}

// strtod answers a number too large to hold with infinity and raises the
// overflow flag on the way; the flag is held here, so that a program trapping
// overflows can still read a number it then refuses. Holding the flags costs
// more than reading the number, and a mesh has thousands: only a number that
// may raise one is read with them held.
double readDouble(const char *text, char **end) {
  if (shortPlainDecimal(text)) return std::strtod(text, end);
  const HeldFloatingPointFaults held;
  return std::strtod(text, end);
}

}  // namespace

// strtod also reads "nan" and "inf", and flags a number too small to hold as
// it flags one too large: the first is as good as zero, the second is lost.
bool toNumber(const std::string &s, double &out) {
  const std::string t = trim(s);
  if (t.empty()) return false;
  char *end = nullptr;
  const double x = readDouble(t.c_str(), &end);
  if (*end != '\0' || !std::isfinite(x)) return false;
  out = x;
  return true;
}

bool toInt(const std::string &s, long &out) {
  const std::string t = trim(s);
  if (t.empty()) return false;
  char *end = nullptr;
  errno = 0;
  const long x = std::strtol(t.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE) return false;
  out = x;
  return true;
}

std::string exactNumber(double x) {
  char buf[40];
  for (int precision = 15; precision <= 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, x);
    if (readDouble(buf, nullptr) == x) break;  // the largest doubles at 15 digits read as infinity
  }
  return buf;
}

std::string namePath(const std::string &name) {
  std::string p = name;
  std::replace(p.begin(), p.end(), '\\', '/');
  return p;
}

}  // namespace sim
