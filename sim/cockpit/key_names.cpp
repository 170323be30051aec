#include "sim/cockpit/key_names.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "sim/formats/text.h"

namespace sim {
namespace {

struct KeyName {
  const char *name;
  DWORD code;
};

const KeyName kKeys[] = {{"1", 0x02}, {"2", 0x03},    {"3", 0x04}, {"4", 0x05}, {"5", 0x06}, {"6", 0x07}, {"7", 0x08},
                         {"8", 0x09}, {"9", 0x0A},    {"0", 0x0B}, {"q", 0x10}, {"w", 0x11}, {"e", 0x12}, {"r", 0x13},
                         {"t", 0x14}, {"y", 0x15},    {"u", 0x16}, {"i", 0x17}, {"o", 0x18}, {"p", 0x19}, {"a", 0x1E},
                         {"s", 0x1F}, {"d", 0x20},    {"f", 0x21}, {"g", 0x22}, {"h", 0x23}, {"j", 0x24}, {"k", 0x25},
                         {"l", 0x26}, {"z", 0x2C},    {"x", 0x2D}, {"c", 0x2E}, {"v", 0x2F}, {"b", 0x30}, {"n", 0x31},
                         {"m", 0x32}, {"space", 0x39}};

const KeyName kModifiers[] = {
    {"Shift", OAPI_KEY_LSHIFT}, {"RShift", OAPI_KEY_RSHIFT}, {"Ctrl", OAPI_KEY_LCONTROL}, {"RCtrl", OAPI_KEY_RCONTROL}};

// "b" shows as "B", "space" as "Space".
std::string shown(const char *name) {
  std::string s = name;
  s[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(s[0])));
  return s;
}

template <size_t N>
const char *nameOf(const KeyName (&table)[N], DWORD code) {
  for (const KeyName &k : table)
    if (k.code == code) return k.name;
  return nullptr;
}

}  // namespace

bool keyByName(const std::string &name, DWORD &code) {
  const std::string n = lower(name);
  for (const KeyName &k : kKeys)
    if (n == k.name) {
      code = k.code;
      return true;
    }
  if (n.rfind("0x", 0) != 0 || n.size() < 3) return false;
  char *end = nullptr;
  const long number = std::strtol(n.c_str() + 2, &end, 16);
  if (*end != '\0' || number < 0 || number > 0xFF) return false;
  code = static_cast<DWORD>(number);
  return true;
}

std::string keyName(DWORD code, const std::vector<DWORD> &held) {
  std::string out;
  for (DWORD m : held) {
    const char *name = nameOf(kModifiers, m);
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(m));
    out += std::string(name ? name : hex) + "+";
  }
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(code));
  const char *name = nameOf(kKeys, code);
  return name ? out + shown(name) + " " + hex : out + hex;
}

}  // namespace sim
