// The Varnell launcher: a two-stage rocket, the booster and the Durvane upper
// stage, with a two-piece payload fairing, carrying its payloads through the
// payload manager it is built on.
#pragma once

#include "Orbitersdk.h"
#include "common_vessel_ex.h"

// From the full stack's origin, the booster's, to the upper stage's origin,
// along z [m]. The upper stage alone has its origin there.
const double UPPER_STAGE_OFFSET = 20.169;

// Measures how fast a vessel's airspeed changes, from samples more than
// SAMPLE_INTERVAL apart. Each launcher has its own; its first sample only
// records, as there is nothing before it to measure against.
//
// It keeps time on a clock of its own: set to the simulation time at its
// first step and advanced by each step's length after, so it reads what the
// simulation time reads, to the last bit. The simulation time starts again at
// 0 with every scenario loaded; the clock, saved with the launcher, goes on,
// and the samples fall on the same steps as without the load.
struct AirspeedSampler {
  static constexpr double SAMPLE_INTERVAL = 0.2;  // [s]

  // Takes a sample when the interval has passed; true if it measured an acceleration.
  bool Sample(OBJHANDLE vessel, double simt, double simdt);

  bool clockSet = false;      // the clock runs: stepped, or read from a scenario
  double clock = 0;           // [s]
  bool sampled = false;       // a first sample has been taken
  double lastSampleTime = 0;  // [s]
  double interval = 0;        // since the last sample [s]
  double airspeed = 0;        // at this sample [m/s]
  double lastAirspeed = 0;    // at the sample before [m/s]
  double speedChange = 0;     // [m/s]
  double acceleration = 0;    // [m/s^2]
};

class VARNELL : public COMMON_VESSEL_EX {
 public:
  // The flight model is the host's to choose; the launcher flies the same either way.
  VARNELL(OBJHANDLE hVessel, int flightmodel);

  void clbkSetClassCaps(FILEHANDLE cfg) override;  // the three tanks; the rest comes with a configuration
  // A launcher created in flight, without scenario lines, is built here.
  void clbkPostCreation() override;
  // The flight sequencer, once per simulation step.
  void clbkPostStep(double simt, double simdt, double mjd) override;
  void clbkDrawHUD(int mode, const HUDPAINTSPEC *hps, HDC hDC) override;
  // B starts the count, J commands a separation; with Shift or Control held, neither.
  int clbkConsumeBufferedKey(DWORD key, bool down, char *kstate) override;

  // Reads the launcher's scenario block, then builds the configuration it names.
  void LoadState(FILEHANDLE scn, void *status);
  // After a load of a block saved without the timeline: the upper stage's
  // timeline, if the state read has passed it.
  void SkipPassedTimeline();
  // After such a load, at the first step: a launcher moving through the air
  // has been launched, and its count is not started again.
  void TakeUpFlight();
  // Writes the host's default state, the launcher's own keys and its timeline
  // (MET, the time since staging, the airspeed sampler), then the manifest,
  // with what waits for it in the message module taken in.
  void SaveState(FILEHANDLE scn);

  // Each build starts from nothing: meshes, mass, shape, payloads and engines.
  void Reconfigure();  // the configuration named: 1 the upper stage, anything else the full stack
  void ConfigureFullStack();
  void ConfigureUpperStage();
  // The engines, groups, flames and streams of the configuration set.
  void DefineThrusters();

  // Separation events: what leaves the launcher becomes a vessel of its own.
  // The spent booster, from the full stack, before the upper stage is built.
  void SeparateBooster(double leftover);  // the booster tank's propellant goes with it [kg]
  // The two fairing halves, pushed apart; once only, while the fairing is on.
  void JettisonFairing();

  // The launcher record. Handles are null until the configuration build
  // creates what they name.
  bool separationCommand = false;  // J pressed: separate the booster, or release a payload
  bool launchCommand = false;      // B pressed: the count runs; never cleared
  bool fairingAttached = false;
  double upperStageOffset = 0;  // full stack origin to upper stage origin, along z [m]
  double met = -10;             // mission elapsed time, held at -10 until launch; saved once launched [s]
  double stageTimer = 0;        // time since staging; saved on the upper stage [s]
  double fairingMass = 0;       // added to the empty mass while the fairing is on [kg]
  PROPELLANT_HANDLE phBooster = nullptr, phUpperStage = nullptr, phRcs = nullptr;
  THRUSTER_HANDLE thBooster[2] = {};
  THRUSTER_HANDLE thUpperStage[2] = {};
  THRUSTER_HANDLE thRcs[10] = {};        // bank left 2, bank right 2, yaw left, yaw right, pitch down 2, pitch up 2
  THRUSTER_HANDLE thVent = nullptr;      // venting on the pad, before ignition
  THRUSTER_HANDLE thIgnition = nullptr;  // flame during the ignition ramp
  THGROUP_HANDLE thgBooster = nullptr, thgUpperStage = nullptr;
  MESHHANDLE meshStg0 = nullptr, meshStg1B = nullptr, meshPlf1 = nullptr, meshPlf2 = nullptr;
  UINT plf1MeshIndex = 0, plf2MeshIndex = 0;        // vessel mesh slots of the fairing halves
  int configuration = 0;                            // 0 full stack, 1 upper stage alone
  VECTOR3 ofsStg0 = _V(0, 0, 0);                    // booster mesh offset [m]
  VECTOR3 ofsStg1B = _V(0, 0, UPPER_STAGE_OFFSET);  // upper stage mesh offset in the full stack [m]
  VECTOR3 ofsPlf1 = _V(-0.935, 0, 30.737);          // fairing half 1 mesh offset from the vessel origin [m]
  VECTOR3 ofsPlf2 = _V(0.906, 0, 30.737);           // fairing half 2 mesh offset from the vessel origin [m]

  AirspeedSampler airspeedSampler;  // feeds the booster's acceleration limit; saved on the full stack
  int thrustersDefined = -1;        // the configuration whose engines exist; -1 before the first build
  // The directions the sequencer last gave the two engines of the stage that
  // flies, since they were defined; saved, so that the first step after a
  // load flies with them, as the step after the save would have.
  VECTOR3 engineDirs[2] = {_V(0, 0, 1), _V(0, 0, 1)};
  bool enginesTurned = false;
  bool justLoaded = false;  // read from a scenario without its timeline, not yet placed in its flight

 private:
  // Engine deflections from the pilot's attitude inputs [rad].
  struct Steering {
    double pitch, yaw, bank;
  };
  Steering ReadSteering() const;
  bool ReadTimelineLine(const char *line);
  void FlyBooster(double simt, double simdt, const Steering &s, double yawRate);
  void StageBooster();
  void FlyUpperStage(double simdt, const Steering &s);
  void ShowMet() const;
  void TurnEngines(THRUSTER_HANDLE (&engines)[2], const VECTOR3 &first, const VECTOR3 &second);
};
