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

// As a stream in the classic locale reads words, without building a stream
// for each line: a mesh has thousands.
std::vector<std::string> words(const std::string &s) {
  const char *blank = " \t\n\v\f\r";
  std::vector<std::string> out;
  for (size_t b = s.find_first_not_of(blank); b != std::string::npos;) {
    const size_t e = s.find_first_of(blank, b);
    out.push_back(s.substr(b, e - b));
    b = s.find_first_not_of(blank, e);
  }
  return out;
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
