// The launcher's scenario block: the manifest's lines, the launcher's own keys
// CONFIGURATION and FAIRING, and the host's default state, all in one block.
#include <climits>
#include <cstdlib>
#include <cstring>

#include "varnell.h"

namespace {

const char CONFIGURATION_KEY[] = "CONFIGURATION";
const char FAIRING_KEY[] = "FAIRING";
const std::size_t CONFIGURATION_KEY_LENGTH = sizeof CONFIGURATION_KEY - 1;
const std::size_t FAIRING_KEY_LENGTH = sizeof FAIRING_KEY - 1;

// As atoi reads it, without atoi's undefined overflow: a number out of range
// names no configuration, and the build takes it as the full stack.
int ConfigurationNumber(const char *text) {
  const long value = std::strtol(text, nullptr, 10);
  return value >= INT_MIN && value <= INT_MAX ? static_cast<int>(value) : 0;
}

}  // namespace

// Only the keys' first letters are compared, so "FAIRING" followed by anything
// at all puts the fairing on. Every line but FAIRING also reaches the host's
// parser, which passes over the keys it does not know.
void VARNELL::LoadState(FILEHANDLE scn, void *status) {
  char *line;
  while (oapiReadScenario_nextline(scn, line)) {
    ParseScenarioLine(line);
    if (!_strnicmp(line, CONFIGURATION_KEY, CONFIGURATION_KEY_LENGTH))
      configuration = ConfigurationNumber(line + CONFIGURATION_KEY_LENGTH);
    if (!_strnicmp(line, FAIRING_KEY, FAIRING_KEY_LENGTH))
      fairingAttached = true;
    else
      ParseScenarioLineEx(line, status);
  }
  Reconfigure();
}
