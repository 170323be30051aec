// The launcher's scenario block: the manifest's lines, the launcher's own keys
// CONFIGURATION and FAIRING, and the host's default state, all in one block.
#include <climits>
#include <cstdlib>
#include <cstring>

#include "varnell.h"

namespace {

// The host's writers take writable texts.
char CONFIGURATION_KEY[] = "CONFIGURATION";
char FAIRING_KEY[] = "FAIRING";
char FAIRING_ON[] = "1";
const std::size_t CONFIGURATION_KEY_LENGTH = sizeof CONFIGURATION_KEY - 1;
const std::size_t FAIRING_KEY_LENGTH = sizeof FAIRING_KEY - 1;

// A FAIRING line puts the fairing on unless a number 0 follows the key.
bool FairingOn(const char *rest) {
  char *end = nullptr;
  const long value = std::strtol(rest, &end, 10);
  return end == rest || value != 0;
}

// As atoi reads it, without atoi's undefined overflow: a number out of range
// names no configuration, and the build takes it as the full stack.
int ConfigurationNumber(const char *text) {
  const long value = std::strtol(text, nullptr, 10);
  return value >= INT_MIN && value <= INT_MAX ? static_cast<int>(value) : 0;
}

}  // namespace

// Only the keys' first letters are compared, so "FAIRING" followed by anything
// but the number 0 puts the fairing on. Every line but FAIRING also reaches the
// host's parser, which passes over the keys it does not know.
void VARNELL::LoadState(FILEHANDLE scn, void *status) {
  char *line;
  while (oapiReadScenario_nextline(scn, line)) {
    ParseScenarioLine(line);
    if (!_strnicmp(line, CONFIGURATION_KEY, CONFIGURATION_KEY_LENGTH))
      configuration = ConfigurationNumber(line + CONFIGURATION_KEY_LENGTH);
    if (!_strnicmp(line, FAIRING_KEY, FAIRING_KEY_LENGTH))
      fairingAttached = FairingOn(line + FAIRING_KEY_LENGTH);
    else
      ParseScenarioLineEx(line, status);
  }
  // After staging the launcher was saved without the booster tank. The host
  // applies the saved tank levels by index once this returns, so the tank that
  // came with the class must be gone by then, or every level would land one
  // tank early.
  if (configuration == 1 && phBooster) DelPropellantResource(phBooster);
  Reconfigure();
  justLoaded = true;  // what the state read means is seen once the host has applied it
}

// A launcher released as a stage and saved before its first step has its
// manifest still waiting in the message module, which keeps nothing across a
// save and a load: it is taken in first, as the next step would have.
void VARNELL::SaveState(FILEHANDLE scn) {
  bool arrived = false;
  while (ReceiveManifestMessages()) arrived = true;
  if (arrived) Reconfigure();
  SaveDefaultState(scn);
  oapiWriteScenario_int(scn, CONFIGURATION_KEY, configuration);
  if (fairingAttached) oapiWriteScenario_string(scn, FAIRING_KEY, FAIRING_ON);
  SaveManifest(scn);
}
