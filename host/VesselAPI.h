// The vessel interface: VESSEL, whose methods the host implements, and
// VESSEL2, which adds the callbacks a vessel module overrides.
#pragma once

#include "OrbiterAPI.h"

// An interface to a vessel the host holds, not the vessel itself. It declares
// no destructor (so none is virtual): a module deletes what it made through
// the type it made.
class OAPIFUNC VESSEL {
 public:
  VESSEL(OBJHANDLE hVessel, int fmodel = 1);

  int Version() const { return version; }  // 0 VESSEL, 1 VESSEL2: which callbacks the object has
  const OBJHANDLE GetHandle() const;
  char *GetName() const;
  char *GetClassName() const;

  // Shape and mass
  void SetSize(double size) const;                  // mean radius [m]
  void SetEmptyMass(double m) const;                // [kg]
  void SetPMI(const VECTOR3 &pmi) const;            // inertia per unit mass [m^2]
  void SetCW(double cw_z_pos, double cw_z_neg, double cw_x, double cw_y) const;
  void SetCrossSections(const VECTOR3 &cs) const;   // [m^2]
  void SetRotDrag(const VECTOR3 &rd) const;
  void SetPitchMomentScale(double scale) const;
  void SetBankMomentScale(double scale) const;
  void SetLiftCoeffFunc(LiftCoeffFunc lcf) const;
  void SetTouchdownPoints(const VECTOR3 &pt1, const VECTOR3 &pt2, const VECTOR3 &pt3) const;
  void SetCameraOffset(const VECTOR3 &co) const;    // [m]
  void ShiftCentreOfMass(const VECTOR3 &shift);     // [m], vessel frame

  // Meshes
  UINT AddMesh(MESHHANDLE hMesh, const VECTOR3 *ofs = 0) const;
  UINT AddMesh(const char *meshname, const VECTOR3 *ofs = 0) const;
  bool DelMesh(UINT idx, bool retain_anim = false) const;
  void ClearMeshes() const;
  void SetMeshVisibilityMode(UINT idx, WORD mode) const;

  // Propellant
  PROPELLANT_HANDLE CreatePropellantResource(double maxmass, double mass = -1.0, double efficiency = 1.0) const;
  void DelPropellantResource(PROPELLANT_HANDLE &ph) const;
  void SetDefaultPropellantResource(PROPELLANT_HANDLE ph) const;
  double GetPropellantMass(PROPELLANT_HANDLE ph) const;     // [kg]
  double GetPropellantMaxMass(PROPELLANT_HANDLE ph) const;  // [kg]
  double GetMaxFuelMass() const;                            // default tank [kg]
  double GetFuelMass() const;                               // default tank [kg]
  void SetFuelMass(double m) const;                         // default tank [kg]
  double GetMass() const;                                   // [kg]
  double GetEmptyMass() const;                              // [kg]

  // Thrusters
  void ClearThrusterDefinitions() const;
  THRUSTER_HANDLE CreateThruster(const VECTOR3 &pos, const VECTOR3 &dir, double maxth0, PROPELLANT_HANDLE hp = 0,
                                 double isp0 = 0.0, double isp_ref = 0.0, double p_ref = 101.4e3) const;
  THGROUP_HANDLE CreateThrusterGroup(THRUSTER_HANDLE *th, int nth, THGROUP_TYPE thgt) const;
  void SetThrusterLevel(THRUSTER_HANDLE th, double level) const;
  double GetThrusterLevel(THRUSTER_HANDLE th) const;
  void SetThrusterDir(THRUSTER_HANDLE th, const VECTOR3 &dir) const;
  void SetThrusterGroupLevel(THGROUP_TYPE thgt, double level) const;
  void IncThrusterGroupLevel(THGROUP_TYPE thgt, double dlevel) const;
  double GetThrusterGroupLevel(THGROUP_TYPE thgt) const;
  double GetManualControlLevel(THGROUP_TYPE thgt, DWORD mode = MANCTRL_ATTMODE,
                               DWORD device = MANCTRL_ANYDEVICE) const;

  // Reaction control system: which attitude inputs the vessel takes (RCS_NONE, RCS_ROT, RCS_LIN)
  int GetAttitudeMode() const;
  bool SetAttitudeMode(int mode) const;
  int ToggleAttitudeMode() const;

  // Exhaust
  void ClearExhaustRefs() const;
  void ClearAttExhaustRefs() const;
  UINT AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, SURFHANDLE tex = 0) const;
  UINT AddExhaust(THRUSTER_HANDLE th, double lscale, double wscale, const VECTOR3 &pos, const VECTOR3 &dir,
                  SURFHANDLE tex = 0) const;
  PSTREAM_HANDLE AddExhaustStream(THRUSTER_HANDLE th, PARTICLESTREAMSPEC *pss = 0) const;
  PSTREAM_HANDLE AddExhaustStream(THRUSTER_HANDLE th, const VECTOR3 &pos, PARTICLESTREAMSPEC *pss = 0) const;

  // State
  void GetStatus(VESSELSTATUS &status) const;
  void Local2Rel(const VECTOR3 &local, VECTOR3 &rel) const;  // vessel-frame point -> position rel. to rbody
  void GlobalRot(const VECTOR3 &rloc, VECTOR3 &rglob) const;  // vessel-frame direction -> global frame
  void GetAngularVel(VECTOR3 &avel) const;                    // [rad/s], vessel frame

  // Scenario
  void ParseScenarioLineEx(char *line, void *status) const;
  void SaveDefaultState(FILEHANDLE scn) const;

 protected:
  OBJHANDLE hVessel;
  short flightmodel;
  short version;
};

// Callbacks in the simulator's slot order. The defaults do the host's own
// work (reading and writing default state, drawing the host's HUD elements)
// or nothing. No destructor either.
class OAPIFUNC VESSEL2 : public VESSEL {
 public:
  VESSEL2(OBJHANDLE hVessel, int fmodel = 1);

  virtual void clbkSetClassCaps(FILEHANDLE cfg);
  virtual void clbkSaveState(FILEHANDLE scn);
  virtual void clbkLoadStateEx(FILEHANDLE scn, void *status);
  virtual void clbkSetStateEx(const void *status);
  virtual void clbkPostCreation();
  virtual void clbkFocusChanged(bool getfocus, OBJHANDLE hNewVessel, OBJHANDLE hOldVessel);
  virtual void clbkPreStep(double simt, double simdt, double mjd);
  virtual void clbkPostStep(double simt, double simdt, double mjd);
  virtual bool clbkPlaybackEvent(double simt, double event_t, const char *event_type, const char *event);
  virtual void clbkVisualCreated(VISHANDLE vis, int refcount);
  virtual void clbkVisualDestroyed(VISHANDLE vis, int refcount);
  virtual void clbkDrawHUD(int mode, const HUDPAINTSPEC *hps, HDC hDC);
  virtual void clbkRCSMode(int mode);
  virtual void clbkADCtrlMode(DWORD mode);
  virtual void clbkHUDMode(int mode);
  virtual void clbkMFDMode(int mfd, int mode);
  virtual void clbkNavMode(int mode, bool active);
  virtual void clbkDockEvent(int dock, OBJHANDLE mate);
  virtual void clbkAnimate(double simt);
  virtual int clbkConsumeDirectKey(char *kstate);
  virtual int clbkConsumeBufferedKey(DWORD key, bool down, char *kstate);
  virtual bool clbkLoadGenericCockpit();
  virtual bool clbkLoadPanel(int id);
  virtual bool clbkPanelMouseEvent(int id, int event, int mx, int my);
  virtual bool clbkPanelRedrawEvent(int id, int event, SURFHANDLE surf);
  virtual bool clbkLoadVC(int id);
  virtual bool clbkVCMouseEvent(int id, int event, VECTOR3 &p);
  virtual bool clbkVCRedrawEvent(int id, int event, SURFHANDLE surf);
};
