// The simulator's programming interface as vessel modules see it: types,
// constants and the global oapi functions. The host implements the functions.
//
// Units are SI throughout: metres, seconds, kilograms, newtons, radians
// unless a comment says otherwise.
#pragma once

#include <cmath>
#include <cstddef>

#include "hostapi_export.h"
#include "platform.h"

// ---------------------------------------------------------------------------
// Vectors

union VECTOR3 {
  double data[3];
  struct {
    double x, y, z;
  };
};

inline VECTOR3 _V(double x, double y, double z) {
  VECTOR3 v;
  v.x = x;
  v.y = y;
  v.z = z;
  return v;
}

inline VECTOR3 operator+(const VECTOR3 &a, const VECTOR3 &b) { return _V(a.x + b.x, a.y + b.y, a.z + b.z); }
inline VECTOR3 operator-(const VECTOR3 &a, const VECTOR3 &b) { return _V(a.x - b.x, a.y - b.y, a.z - b.z); }
inline VECTOR3 operator-(const VECTOR3 &a) { return _V(-a.x, -a.y, -a.z); }
inline VECTOR3 operator*(const VECTOR3 &a, double f) { return _V(a.x * f, a.y * f, a.z * f); }
inline VECTOR3 operator*(double f, const VECTOR3 &a) { return a * f; }
inline VECTOR3 operator/(const VECTOR3 &a, double f) { return _V(a.x / f, a.y / f, a.z / f); }
inline VECTOR3 &operator+=(VECTOR3 &a, const VECTOR3 &b) {
  a.x += b.x;
  a.y += b.y;
  a.z += b.z;
  return a;
}
inline VECTOR3 &operator-=(VECTOR3 &a, const VECTOR3 &b) {
  a.x -= b.x;
  a.y -= b.y;
  a.z -= b.z;
  return a;
}
inline VECTOR3 &operator*=(VECTOR3 &a, double f) {
  a.x *= f;
  a.y *= f;
  a.z *= f;
  return a;
}
inline VECTOR3 &operator/=(VECTOR3 &a, double f) {
  a.x /= f;
  a.y /= f;
  a.z /= f;
  return a;
}
inline double dotp(const VECTOR3 &a, const VECTOR3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline VECTOR3 crossp(const VECTOR3 &a, const VECTOR3 &b) {
  return _V(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
inline double length(const VECTOR3 &a) { return std::sqrt(dotp(a, a)); }
inline VECTOR3 unit(const VECTOR3 &a) { return a / length(a); }

// ---------------------------------------------------------------------------
// Handles: opaque, owned by the host

typedef void *OBJHANDLE;
typedef void *MESHHANDLE;
typedef void *PROPELLANT_HANDLE;
typedef void *THRUSTER_HANDLE;
typedef void *THGROUP_HANDLE;
typedef void *PSTREAM_HANDLE;
typedef void *SURFHANDLE;
typedef void *FILEHANDLE;
typedef void *VISHANDLE;

typedef double (*LiftCoeffFunc)(double aoa);

// ---------------------------------------------------------------------------
// Records

// A vessel's state, as GetStatus fills it and oapiCreateVessel takes it.
struct VESSELSTATUS {
  VECTOR3 rpos;       // position relative to rbody, global frame [m]
  VECTOR3 rvel;       // velocity relative to rbody, global frame [m/s]
  VECTOR3 vrot;       // angular velocity, vessel frame [rad/s]
  VECTOR3 arot;       // attitude angles [rad]
  double fuel;        // level of the first propellant tank [0..1]
  double eng_main;    // main engine setting [0..1]
  double eng_hovr;    // hover engine setting [0..1]
  OBJHANDLE rbody;    // reference body
  OBJHANDLE base;     // landing base, if landed at one
  int port;           // landing pad index
  int status;         // 0 flying, 1 landed
  VECTOR3 vdata[10];  // extra vectors; vdata[0] holds (lng, lat, heading) of a landed vessel [rad]
  double fdata[10];   // extra numbers
  DWORD flag[10];     // extra flags
};

struct PARTICLESTREAMSPEC {
  DWORD flags;
  double srcsize;      // particle size at creation [m]
  double srcrate;      // particles created per second [1/s]
  double v0;           // emission speed [m/s]
  double srcspread;    // emission speed spread [fraction]
  double lifetime;     // particle lifetime [s]
  double growthrate;   // particle growth rate [m/s]
  double atmslowdown;  // slowdown in atmosphere [1/s]
  enum LTYPE { EMISSIVE, DIFFUSE } ltype;
  enum LEVELMAP { LVL_FLAT, LVL_LIN, LVL_SQRT, LVL_PLIN, LVL_PSQRT } levelmap;
  double lmin, lmax;  // level range
  enum ATMSMAP { ATM_FLAT, ATM_PLIN, ATM_PLOG } atmsmap;
  double amin, amax;  // atmospheric density range [kg/m^3] (or pressure, by atmsmap)
  SURFHANDLE tex;     // particle texture; null for the default
};

struct HUDPAINTSPEC {
  int W, H;        // HUD surface size [pixel]
  int CX, CY;      // HUD centre [pixel]
  double Scale;    // pixels per degree
  int Markersize;  // marker size [pixel]
};

// ---------------------------------------------------------------------------
// Constants

enum THGROUP_TYPE {
  THGROUP_MAIN = 0,
  THGROUP_RETRO,
  THGROUP_HOVER,
  THGROUP_ATT_PITCHUP,
  THGROUP_ATT_PITCHDOWN,
  THGROUP_ATT_YAWLEFT,
  THGROUP_ATT_YAWRIGHT,
  THGROUP_ATT_BANKLEFT,
  THGROUP_ATT_BANKRIGHT,
  THGROUP_ATT_RIGHT,
  THGROUP_ATT_LEFT,
  THGROUP_ATT_UP,
  THGROUP_ATT_DOWN,
  THGROUP_ATT_FORWARD,
  THGROUP_ATT_BACK,
  THGROUP_USER = 0x40
};

// Which attitude inputs GetManualControlLevel reports: those of the vessel's
// RCS mode, of the other one, the rotation or linear inputs, or both.
const DWORD MANCTRL_ATTMODE = 0;
const DWORD MANCTRL_REVMODE = 1;
const DWORD MANCTRL_ROTMODE = 2;
const DWORD MANCTRL_LINMODE = 3;
const DWORD MANCTRL_ANYMODE = 4;
// From which device.
const DWORD MANCTRL_KEYBOARD = 0;
const DWORD MANCTRL_JOYSTICK = 1;
const DWORD MANCTRL_ANYDEVICE = 2;

// RCS modes: off, rotation, linear (translation).
const int RCS_NONE = 0;
const int RCS_ROT = 1;
const int RCS_LIN = 2;

const WORD MESHVIS_NEVER = 0x00;
const WORD MESHVIS_EXTERNAL = 0x01;
const WORD MESHVIS_COCKPIT = 0x02;
const WORD MESHVIS_ALWAYS = 0x03;
const WORD MESHVIS_VC = 0x04;

// Keyboard codes: indices into the host's key-state array.
const DWORD OAPI_KEY_LCONTROL = 0x1D;
const DWORD OAPI_KEY_J = 0x24;
const DWORD OAPI_KEY_LSHIFT = 0x2A;
const DWORD OAPI_KEY_B = 0x30;
const DWORD OAPI_KEY_RSHIFT = 0x36;
const DWORD OAPI_KEY_RCONTROL = 0x9D;

// A key is held down when its key-state entry has this bit set.
#define KEYDOWN(buf, key) (((buf)[key] & 0x80) != 0)

// ---------------------------------------------------------------------------
// Global functions of the host

class VESSEL;

OAPIFUNC OBJHANDLE oapiCreateVessel(const char *name, const char *classname, const VESSELSTATUS &status);
OAPIFUNC bool oapiDeleteVessel(OBJHANDLE hVessel, OBJHANDLE hAlternativeCameraTarget = 0);
OAPIFUNC VESSEL *oapiGetVesselInterface(OBJHANDLE hVessel);
OAPIFUNC OBJHANDLE oapiGetVesselByName(char *name);
OAPIFUNC bool oapiGetAirspeed(OBJHANDLE hVessel, double *airspeed);
OAPIFUNC double oapiGetTimeAcceleration();
// Seconds since the simulation started: 0 again with every scenario loaded.
OAPIFUNC double oapiGetSimTime();
OAPIFUNC char *oapiDebugString();
// Writes one line into the simulator's log file.
OAPIFUNC void oapiWriteLog(char *line);

OAPIFUNC MESHHANDLE oapiLoadMeshGlobal(const char *fname);
OAPIFUNC MESHHANDLE oapiLoadMesh(const char *fname);
OAPIFUNC SURFHANDLE oapiRegisterExhaustTexture(char *name);
OAPIFUNC SURFHANDLE oapiRegisterParticleTexture(char *name);

OAPIFUNC bool oapiReadScenario_nextline(FILEHANDLE scn, char *&line);
OAPIFUNC void oapiWriteScenario_int(FILEHANDLE scn, char *item, int i);
OAPIFUNC void oapiWriteScenario_string(FILEHANDLE scn, char *item, char *string);
