// The keyboard by name: the simulator's key codes are the keyboard's scan
// codes (OAPI_KEY_B is 0x30, OAPI_KEY_J 0x24). Pilot programs name keys this
// way, and the flight record shows them so.
#pragma once

#include <string>
#include <vector>

#include "host/OrbiterAPI.h"

namespace sim {

// A letter, a digit, "space" (any case), or a code such as 0x30.
bool keyByName(const std::string &name, DWORD &code);
// What a key press is called, with its modifiers and its code after:
// "B 0x30", "Shift+J 0x24"; a key without a name shows its code alone.
std::string keyName(DWORD code, const std::vector<DWORD> &held = {});

}  // namespace sim
