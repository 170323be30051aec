// The flight sequencer: the launcher's work in every simulation step.
//
// It takes in manifests that arrived by message, keeps the mission elapsed
// time, swivels the engines after the pilot's attitude inputs, runs the
// booster's ignition ramp and acceleration limit, stages, runs the upper
// stage's timeline and releases payloads on command.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "guarded.h"
#include "varnell.h"

namespace {

const double MET_BEFORE_LAUNCH = -10;               // MET held until B is pressed [s]
const double RAMP_START = -5, RAMP_END = 0;         // booster ignition ramp, open interval [s MET]
const double RAMP_RATE = 0.2, RAMP_BASE = 0.75;     // ramp level = rate * MET + base [1/s, level]
const double IGNITION_FLAME_LEVEL = 0.4;            // ramp level that lights the ignition flame
const double VENT_BELOW_LEVEL = 0.01;               // booster level under which the tank vents
const double LIMITER_ABOVE_LEVEL = 0.6;             // the limiter leaves lower levels alone
const double LIMITER_ABOVE_ACCELERATION = 10;       // [m/s^2]
const double LIMITER_STEP = 0.01;                   // level taken off per sample
const double STAGING_PROPELLANT = 100;              // booster propellant that triggers staging [kg]
const double IGNITION_FROM = 10, IGNITION_TO = 11;  // upper-stage ignition window after staging [s]
const double JETTISON_AFTER = 32.5;                 // fairing jettison after staging [s]
const double MET_SHOWN_UNTIL = 5000;                // [s]
const double LAUNCHED_AIRSPEED = 1;    // a launcher read moving faster through the air has left its pad [m/s]
const size_t DEBUG_LINE_SIZE = 64;     // room taken in the host's debug line; "MET -10.0" fits
const double MET_ROUNDED_HERE = 1e12;  // below it the MET line's tenths are rounded here, beyond by printf [s]

// Deflection of the engines per unit of the pilot's input to the fourth power [rad]
const double PITCH_GAIN = 0.01, YAW_GAIN = 0.01, BANK_GAIN = 0.05;

// A window of time (from, to), both ends excluded, acts on a frame that ends
// inside it, and on one so long that it steps over the whole window from
// before it: at high time acceleration nothing is skipped.
bool ActsInWindow(double now, double frame, double from, double to) {
  return (now > from && now < to) || (now - frame <= from && now >= to);
}

// Of each opposite pair of inputs one at least is 0, which needs no pow.
double inputLevel(const VESSEL &v, THGROUP_TYPE type) {
  const double level = v.GetManualControlLevel(type, MANCTRL_ATTMODE, MANCTRL_ANYDEVICE);
  return level == 0 ? 0 : std::pow(level, 4.0);
}

}  // namespace

bool AirspeedSampler::Sample(OBJHANDLE vessel, double simt, double simdt) {
  clock = clockSet ? clock + simdt : simt;
  clockSet = true;
  interval = clock - lastSampleTime;
  if (interval <= SAMPLE_INTERVAL) return false;
  lastSampleTime = clock;
  oapiGetAirspeed(vessel, &airspeed);
  speedChange = airspeed - lastAirspeed;
  lastAirspeed = airspeed;
  if (!sampled) {
    // A launcher loaded or made while moving would take its whole speed
    // for one sample's change.
    sampled = true;
    speedChange = 0;
    return false;
  }
  acceleration = speedChange / interval;
  return true;
}

VARNELL::Steering VARNELL::ReadSteering() const {
  // The inputs are read in this order: pitch down, pitch up, yaw left, yaw
  // right, bank left, bank right.
  const double pitchDown = inputLevel(*this, THGROUP_ATT_PITCHDOWN);
  const double pitchUp = inputLevel(*this, THGROUP_ATT_PITCHUP);
  const double yawLeft = inputLevel(*this, THGROUP_ATT_YAWLEFT);
  const double yawRight = inputLevel(*this, THGROUP_ATT_YAWRIGHT);
  const double bankLeft = inputLevel(*this, THGROUP_ATT_BANKLEFT);
  const double bankRight = inputLevel(*this, THGROUP_ATT_BANKRIGHT);
  return {PITCH_GAIN * pitchDown - PITCH_GAIN * pitchUp, YAW_GAIN * yawLeft - YAW_GAIN * yawRight,
          BANK_GAIN * bankLeft - BANK_GAIN * bankRight};
}

// A launcher read from a scenario is built at the end of its state; one that
// the simulation creates in flight has no state to read and is built here, so
// that the sequencer never steers engines that do not exist.
void VARNELL::clbkPostCreation() {
  Guarded("clbkPostCreation", [&] {
    if (thrustersDefined < 0) Reconfigure();
    if (justLoaded) SkipPassedTimeline();
  });
}

void VARNELL::clbkPostStep(double simt, double simdt, double mjd) {
  Guarded("clbkPostStep", [&] {
    if (ReceiveManifestMessages()) {
      while (ReceiveManifestMessages()) {
      }
      Reconfigure();
    }
    if (justLoaded) TakeUpFlight();
    met = launchCommand ? met + simdt : MET_BEFORE_LAUNCH;

    VECTOR3 omega;
    GetAngularVel(omega);
    const Steering steering = ReadSteering();
    if (configuration == 0)
      FlyBooster(simt, simdt, steering, omega.y);
    else if (configuration == 1)
      FlyUpperStage(simdt, steering);

    ShowMet();
  });
}

void VARNELL::TurnEngines(THRUSTER_HANDLE (&engines)[2], const VECTOR3 &first, const VECTOR3 &second) {
  SetThrusterDir(engines[0], first);
  SetThrusterDir(engines[1], second);
  engineDirs[0] = first;
  engineDirs[1] = second;
  enginesTurned = true;
}

void VARNELL::FlyBooster(double simt, double simdt, const Steering &s, double yawRate) {
  // The yaw rate enters the swivel so that the stack damps its own yawing.
  TurnEngines(thBooster, _V(s.yaw - yawRate, s.pitch - s.bank, 1), _V(s.yaw - yawRate, s.pitch + s.bank, 1));

  if (GetThrusterGroupLevel(THGROUP_HOVER) < VENT_BELOW_LEVEL) SetThrusterLevel(thVent, 1);
  if (oapiGetTimeAcceleration() > 1) SetThrusterLevel(thVent, 0);

  if (ActsInWindow(met, simdt, RAMP_START, RAMP_END)) {
    SetThrusterGroupLevel(THGROUP_HOVER, std::min(met, RAMP_END) * RAMP_RATE + RAMP_BASE);
    SetThrusterLevel(thVent, 0);
    if (GetThrusterGroupLevel(THGROUP_HOVER) > IGNITION_FLAME_LEVEL) SetThrusterLevel(thIgnition, 1);
  }

  if (airspeedSampler.Sample(GetHandle(), simt, simdt) && GetThrusterGroupLevel(THGROUP_HOVER) > LIMITER_ABOVE_LEVEL &&
      airspeedSampler.acceleration > LIMITER_ABOVE_ACCELERATION)
    IncThrusterGroupLevel(THGROUP_HOVER, -LIMITER_STEP);

  if (separationCommand || GetPropellantMass(phBooster) <= STAGING_PROPELLANT) StageBooster();
}

void VARNELL::StageBooster() {
  separationCommand = false;
  SetThrusterGroupLevel(THGROUP_HOVER, 0);
  stageTimer = 0;
  const double leftover = GetPropellantMass(phBooster);  // goes with the booster [kg]
  DelPropellantResource(phBooster);
  SeparateBooster(leftover);
  ConfigureUpperStage();
}

void VARNELL::FlyUpperStage(double simdt, const Steering &s) {
  stageTimer += simdt;
  TurnEngines(thUpperStage, _V(s.yaw, s.pitch - s.bank, 1), _V(s.yaw, s.pitch + s.bank, 1));

  if (ActsInWindow(stageTimer, simdt, IGNITION_FROM, IGNITION_TO)) SetThrusterGroupLevel(THGROUP_MAIN, 1);

  if (stageTimer > JETTISON_AFTER && fairingAttached) {
    JettisonFairing();
    SetThrusterGroupLevel(THGROUP_MAIN, 1);
  }

  if (separationCommand) {
    // With the fairing on there is nothing to release: the command is dropped.
    if (!fairingAttached) {
      SetThrusterGroupLevel(THGROUP_MAIN, 0);
      ReleaseNextStage();
      ConfigureUpperStage();
    }
    separationCommand = false;
  }
}

// Read without the time since staging, what the stage shows says how far its
// timeline went. A full stage has not been lit: its timeline runs from the
// load, ignition 10 s after it. A stage whose tank is below full has burnt and
// is not lit again (a stage coasting in orbit would light up 10 s after every
// load); a fairing still on goes as if the ignition window had just closed.
void VARNELL::SkipPassedTimeline() {
  if (configuration != 1 || !phUpperStage) return;
  if (GetPropellantMass(phUpperStage) < GetPropellantMaxMass(phUpperStage))
    stageTimer = fairingAttached ? IGNITION_TO : JETTISON_AFTER;
}

// Read without its timeline, a launcher in flight has been launched, and MET
// counts from the load. B, and the booster's ramp, would otherwise take the
// throttle from the pilot in flight.
void VARNELL::TakeUpFlight() {
  justLoaded = false;
  double airspeed = 0;
  oapiGetAirspeed(GetHandle(), &airspeed);
  if (airspeed <= LAUNCHED_AIRSPEED) return;
  launchCommand = true;
  met = 0;
}

// The MET line is written at every step, and the C library's number
// formatting would cost as much as the rest of the step: the tenths are
// rounded here as printf's "%.1f" rounds them, from the exact value of
// met * 10. The product's own rounding error, which fma gives exactly,
// decides a product that lands on a half: 0.15 is a little below it, 0.05 a
// little above, and 0.25 exactly on it, which goes to the even tenth.
void VARNELL::ShowMet() const {
  char *line = oapiDebugString();
  if (met > MET_SHOWN_UNTIL) {
    line[0] = '\0';
    return;
  }
  if (!(std::fabs(met) < MET_ROUNDED_HERE)) {
    std::snprintf(line, DEBUG_LINE_SIZE, "MET %.1f", met);
    return;
  }
  const double product = met * 10, error = std::fma(met, 10.0, -product);
  double tenths = std::round(product);
  const double off = product - tenths;  // exact, as the two lie within half a unit
  if (off == 0.5 && (error > 0 || (error == 0 && std::fmod(tenths, 2) != 0))) tenths += 1;
  if (off == -0.5 && (error < 0 || (error == 0 && std::fmod(tenths, 2) != 0))) tenths -= 1;
  // Written backwards from the tenths digit; a negative MET that rounds to 0 shows as "-0.0", as printf has it.
  char text[32];
  char *p = text + sizeof text;
  *--p = '\0';
  unsigned long long n = static_cast<unsigned long long>(std::fabs(tenths));
  *--p = static_cast<char>('0' + n % 10);
  *--p = '.';
  do {
    n /= 10;
    *--p = static_cast<char>('0' + n % 10);
  } while (n >= 10);
  if (std::signbit(met)) *--p = '-';
  p -= 4;
  std::memcpy(p, "MET ", 4);
  std::memcpy(line, p, static_cast<size_t>(text + sizeof text - p));
}
