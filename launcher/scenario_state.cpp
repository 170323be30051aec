// The launcher's scenario block: the manifest's lines, the launcher's own keys
// CONFIGURATION and FAIRING, its timeline (MET, STAGETIMER, SAMPLER), the
// directions its engines are turned to (GIMBAL) and the
// host's default state, all in one block.
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
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
char MET_KEY[] = "MET";
char STAGE_TIMER_KEY[] = "STAGETIMER";
char SAMPLER_KEY[] = "SAMPLER";
char GIMBAL_KEY[] = "GIMBAL";
const int EXACT_DIGITS = 17;  // a double written with them reads back as the same double

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

// The text after the key when the line starts with it as a whole word, in any
// case; null otherwise.
const char *AfterKey(const char *line, const char *key) {
  const std::size_t length = std::strlen(key);
  if (_strnicmp(line, key, length) != 0) return nullptr;
  return line[length] == '\0' || std::isspace(static_cast<unsigned char>(line[length])) ? line + length : nullptr;
}

// Reads at least `least` and at most `most` finite numbers and nothing after
// them; how many, or -1 when the text is not that.
int ReadNumbers(const char *text, double *x, int least, int most) {
  int n = 0;
  for (char *end = nullptr; n < most; text = end) {
    const double value = std::strtod(text, &end);
    if (end == text) break;
    if (!std::isfinite(value)) return -1;
    x[n++] = value;
  }
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  return n >= least && *text == '\0' ? n : -1;
}

// The numbers after the key, each with the digits that read back exactly.
void WriteNumbers(FILEHANDLE scn, char *key, const double *x, int count) {
  char text[256];
  int n = 0;
  for (int i = 0; i < count; ++i)
    n += std::snprintf(text + n, sizeof text - n, i ? " %.*g" : "%.*g", EXACT_DIGITS, x[i]);
  oapiWriteScenario_string(scn, key, text);
}

}  // namespace

// The timeline as saved: MET, once launched; the time since staging, on the
// upper stage; the airspeed sampler, on the full stack, as its clock and the
// clock's time at its last sample and, once it has sampled, the airspeed it
// took; the directions the engines are steered to. False for a line that is
// none of these or does not read whole.
bool VARNELL::ReadTimelineLine(const char *line) {
  double x[6];
  const char *rest = nullptr;
  if ((rest = AfterKey(line, MET_KEY))) {
    if (ReadNumbers(rest, x, 1, 1) < 0) return false;
    launchCommand = true;
    met = x[0];
  } else if ((rest = AfterKey(line, STAGE_TIMER_KEY))) {
    if (ReadNumbers(rest, x, 1, 1) < 0) return false;
    stageTimer = x[0];
  } else if ((rest = AfterKey(line, SAMPLER_KEY))) {
    const int n = ReadNumbers(rest, x, 2, 3);
    if (n < 0) return false;
    AirspeedSampler &sampler = airspeedSampler;
    sampler.clockSet = true;
    sampler.clock = x[0];
    sampler.lastSampleTime = x[1];
    sampler.sampled = n == 3;
    sampler.lastAirspeed = n == 3 ? x[2] : 0;
  } else if ((rest = AfterKey(line, GIMBAL_KEY))) {
    if (ReadNumbers(rest, x, 6, 6) < 0) return false;
    engineDirs[0] = _V(x[0], x[1], x[2]);
    engineDirs[1] = _V(x[3], x[4], x[5]);
    enginesTurned = true;
  } else {
    return false;
  }
  return true;
}

// Only the first letters of CONFIGURATION and FAIRING are compared, so
// "FAIRING" followed by anything but the number 0 puts the fairing on. Every
// line but FAIRING and the timeline's also reaches the host's parser, which
// passes over the keys it does not know. A block without the timeline's keys,
// written by hand or saved before the launcher kept its timeline, has it
// worked out from its state once the host has applied that. With any of them,
// what the block leaves out has not happened: not launched, not staged, no
// sample taken.
void VARNELL::LoadState(FILEHANDLE scn, void *status) {
  char *line;
  bool timelineRead = false;
  while (oapiReadScenario_nextline(scn, line)) {
    ParseScenarioLine(line);
    if (!_strnicmp(line, CONFIGURATION_KEY, CONFIGURATION_KEY_LENGTH))
      configuration = ConfigurationNumber(line + CONFIGURATION_KEY_LENGTH);
    if (!_strnicmp(line, FAIRING_KEY, FAIRING_KEY_LENGTH))
      fairingAttached = FairingOn(line + FAIRING_KEY_LENGTH);
    else if (ReadTimelineLine(line))
      timelineRead = true;
    else
      ParseScenarioLineEx(line, status);
  }
  // After staging the launcher was saved without the booster tank. The host
  // applies the saved tank levels by index once this returns, so the tank that
  // came with the class must be gone by then, or every level would land one
  // tank early.
  if (configuration == 1 && phBooster) DelPropellantResource(phBooster);
  const bool turned = enginesTurned;
  Reconfigure();
  if (turned) TurnEngines(configuration == 1 ? thUpperStage : thBooster, engineDirs[0], engineDirs[1]);
  justLoaded = !timelineRead;  // what the state read means is seen once the host has applied it
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
  if (launchCommand) WriteNumbers(scn, MET_KEY, &met, 1);
  if (configuration == 1) {
    WriteNumbers(scn, STAGE_TIMER_KEY, &stageTimer, 1);
  } else {
    const AirspeedSampler &sampler = airspeedSampler;
    const double x[3] = {sampler.clock, sampler.lastSampleTime, sampler.lastAirspeed};
    WriteNumbers(scn, SAMPLER_KEY, x, sampler.sampled ? 3 : 2);
  }
  if (enginesTurned) {
    const double x[6] = {engineDirs[0].x, engineDirs[0].y, engineDirs[0].z,
                         engineDirs[1].x, engineDirs[1].y, engineDirs[1].z};
    WriteNumbers(scn, GIMBAL_KEY, x, 6);
  }
  SaveManifest(scn);
}
