// Keyboard codes by name: the simulator's key codes are the keyboard's scan
// codes (OAPI_KEY_B is 0x30, OAPI_KEY_J 0x24).
#include <cstdlib>

#include "../text.h"
#include "program.h"

namespace sim {
namespace pilot {
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

}  // namespace

bool keyCode(const std::string &name, DWORD &code) {
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

}  // namespace pilot
}  // namespace sim
