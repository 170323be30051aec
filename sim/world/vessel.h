// A vessel as the headless host holds it: everything a module defines on it
// through VESSEL, and its dynamic state. Tests read these fields directly.
//
// Handles given to modules are ids cast to pointers, never addresses, so a
// stale handle (a thruster deleted by ClearThrusterDefinitions, a tank that
// DelPropellantResource removed) is recognised and refused instead of being
// dereferenced. Ids are unique within a World and never reused.
#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/VesselAPI.h"
#include "sim/physics/dynamics.h"
#include "sim/physics/mat3.h"

namespace sim {

class Module;
struct Mesh;

using Id = std::uint64_t;

struct Tank {
  Id id = 0;
  double maxMass = 0;     // [kg]
  double mass = 0;        // [kg]
  double efficiency = 1;  // [fraction]
};

struct Thruster {
  Id id = 0;
  VECTOR3 pos{};          // vessel frame [m]
  VECTOR3 dir{};          // thrust direction, as stored (normalised at creation, as given by SetThrusterDir)
  double maxThrust0 = 0;  // vacuum thrust at level 1 [N]
  Id tank = 0;            // 0: none, or the tank was deleted
  double isp0 = 0;        // vacuum specific impulse [m/s]
  double ispRef = 0;      // specific impulse at pRef [m/s]; 0: none given
  double pRef = 101.4e3;  // reference pressure [Pa]
  // Levels as the simulator keeps them: what a module set (any value), what
  // the pilot's input adds for one frame, and the level the thruster runs at
  // and reports, clamp(0..1, permanent + override) as of the frame's start.
  double permanent = 0;
  double override = 0;
  double level = 0;
};

struct ThrusterGroup {
  Id id = 0;
  THGROUP_TYPE type = THGROUP_USER;
  std::vector<Id> thrusters;
};

struct Exhaust {
  Id thruster = 0;
  double length = 0, width = 0;  // [m]
  bool hasPosDir = false;        // fixed position and direction given
  VECTOR3 pos{}, dir{};          // vessel frame; dir points along the exhaust
  SURFHANDLE tex = nullptr;
};

struct Stream {
  Id thruster = 0;
  bool hasPos = false;
  VECTOR3 pos{};  // vessel frame [m], when hasPos
  PARTICLESTREAMSPEC particles{};
};

struct MeshSlot {
  bool used = false;
  MESHHANDLE mesh = nullptr;
  VECTOR3 ofs{};  // vessel frame [m]
  WORD visibility = MESHVIS_EXTERNAL;
};

// A vessel's flight at one moment: its motion (position and velocity relative
// to the planet's centre in the non-rotating global frame, attitude, spin),
// which the integrator advances, and whether it stands on the ground, and
// where. A frame that leaves the range a vessel can be flown in puts the
// whole back as it was.
struct FlightState : physics::Motion {
  bool landed = false;
  bool crashed = false;                              // its last touchdown was faster than a landing
  double surfLng = 0, surfLat = 0, surfHeading = 0;  // while landed [rad]

  // Set in flight, moving as m says (a status given, a scenario's state
  // read): off the ground, nothing left of a crash.
  void setFlying(const physics::Motion &m) {
    static_cast<physics::Motion &>(*this) = m;
    landed = false;
    crashed = false;
  }
};

struct Vessel : FlightState {
  using Kinematics = physics::Motion;

  // Identity
  std::string name;
  std::string className;
  Module *module = nullptr;     // null for a vessel with no module of its own
  VESSEL *iface = nullptr;      // the interface the module returned, or a plain VESSEL2 of the host
  VESSEL *hostIface = nullptr;  // that plain VESSEL2, when the host made one: its callbacks do nothing
  double createdAt = -1;        // simulation time of creation [s]; < 0 for scenario vessels
  std::string createdBy;        // name of the vessel whose module created it, if any
  VESSELSTATUS givenStatus{};   // the status it was created with, as given (zero for scenario vessels)

  // Definition
  double size = 1;            // mean radius [m]
  double defaultIsp = 5e4;    // of thrusters created without one: the class file's Isp once read [m/s]
  double emptyMass = 0;       // [kg]
  VECTOR3 pmi = _V(1, 1, 1);  // inertia per unit mass [m^2]
  double cwZPos = 0, cwZNeg = 0, cwX = 0, cwY = 0;
  VECTOR3 crossSections = _V(1, 1, 1);  // [m^2]
  VECTOR3 rotDrag{};
  double pitchMomentScale = 0, bankMomentScale = 0;
  LiftCoeffFunc liftFunc = nullptr;
  VECTOR3 touchdown[3] = {_V(0, -1, 1), _V(-1, -1, -1), _V(1, -1, -1)};  // vessel frame [m]
  double tdStiffness = 1e6, tdDamping = 1e5;  // of each touchdown point's spring [N/m], [N s/m]
  VECTOR3 cameraOffset{};
  std::vector<MeshSlot> meshes;
  std::vector<Tank> tanks;  // in creation order; deleted tanks are removed
  Id defaultTank = 0;
  std::vector<Thruster> thrusters;
  std::vector<ThrusterGroup> groups;
  std::vector<Exhaust> exhausts;
  std::vector<Stream> streams;

  // The state (FlightState) at the frame's start while a frame is under way:
  // what modules read of the vessel's motion during clbkPostStep (the
  // simulator's state s0), and what a frame's rollback restores.
  FlightState frameStart;
  bool inFrame = false;      // integrated in the frame under way: frameStart holds
  bool forceActive = false;  // set on a landed vessel: it leaves its landed state at the next frame
  bool touching = false;     // a touchdown point is below the surface (in flight)
  double restTime = 0;       // how long it has lain still in contact [s]

  // The mass GetMass reports lags the tanks, as the simulator's mass register
  // does: a tank created or deleted counts only once the frame is over, or
  // sooner when the empty mass or a tank's contents are set.
  double unregisteredMass = 0;    // contents of the tanks created, less those deleted, since [kg]
  double unregisteredSince = -1;  // the simulation time of those changes [s]

  // Attitude-control mode (RCSMODE): 0 off, 1 rotation, 2 linear.
  int attitudeMode = 1;

  // Of a landed vessel: what standing at its point takes that stays the same
  // while it stands there (the point's and the heading's sines and cosines,
  // the turn onto its touchdown plane and its height above it), and for which
  // point and touchdown points. Kept last, away from what each step reads.
  struct Standing {
    double lng = NAN, lat = NAN, heading = NAN;  // [rad]
    VECTOR3 touchdown[3]{};
    double ca = 0, sa = 0, cl = 0, sl = 0, ch = 0, sh = 0;
    Mat3 turn = Mat3::identity();
    double height = 0;  // [m]
  };
  Standing standing;

  FlightState &flight() { return *this; }
  const FlightState &flight() const { return *this; }
  double mass() const;  // empty mass plus all tank contents [kg]
  // What GetMass gives at simulation time simt [kg]; the contents of a tank
  // created or deleted at simt, to leave out until the time moves on.
  double reportedMass(double simt) const;
  void leaveUnregistered(double kg, double simt);
  void registerMass() { unregisteredMass = 0; }
  // What the simulator's Vessel::Setup does once a new vessel has its state:
  // an inertia left undefined (negative) follows from the size, and the mass
  // register takes in every tank.
  void finishSetup();
  Tank *tank(Id id);
  Thruster *thruster(Id id);
  ThrusterGroup *group(THGROUP_TYPE type);
  const ThrusterGroup *group(THGROUP_TYPE type) const;
  // Mean level of the group's thrusters; 0 for an empty or missing group.
  double groupLevel(THGROUP_TYPE type) const;
};

// The interface the host makes for a vessel without a module: the default
// callbacks alone. Final, since VESSEL2 has no virtual destructor: it is
// deleted as what it is.
class HostVessel final : public VESSEL2 {
 public:
  using VESSEL2::VESSEL2;
};

// The callbacks behind an interface, as the simulator finds them: by the
// interface version, since VESSEL itself has no virtual functions to ask.
inline VESSEL2 *callbacksOf(VESSEL *iface) {
  return iface && iface->Version() >= 1 ? static_cast<VESSEL2 *>(iface) : nullptr;
}

}  // namespace sim
