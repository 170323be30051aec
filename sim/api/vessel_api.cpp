// VESSEL: identity, shape and mass settings, and the vessel's state.
#include "sim/api/vessel_api.h"

#include "sim/api/status.h"
#include "sim/physics/planet/ground.h"

using sim::api::self;

VESSEL::VESSEL(OBJHANDLE h, int fmodel) : hVessel(h), flightmodel(static_cast<short>(fmodel)), version(0) {}
const OBJHANDLE VESSEL::GetHandle() const { return hVessel; }

char *VESSEL::GetName() const {
  static char none[1] = "";
  sim::Vessel *v = self(this, "GetName");
  return v ? &v->name[0] : none;
}

char *VESSEL::GetClassName() const {
  static char none[1] = "";
  sim::Vessel *v = self(this, "GetClassName");
  return v ? &v->className[0] : none;
}

// --- Shape and mass ----------------------------------------------------------

void VESSEL::SetSize(double size) const {
  if (sim::Vessel *v = self(this, "SetSize")) v->size = size;
}

// Setting the empty mass brings the mass register up to date, tanks and all.
void VESSEL::SetEmptyMass(double m) const {
  sim::Vessel *v = self(this, "SetEmptyMass");
  if (!v) return;
  v->emptyMass = m;
  v->registerMass();
}

void VESSEL::SetPMI(const VECTOR3 &pmi) const {
  if (sim::Vessel *v = self(this, "SetPMI")) v->pmi = pmi;
}

void VESSEL::SetCW(double cw_z_pos, double cw_z_neg, double cw_x, double cw_y) const {
  sim::Vessel *v = self(this, "SetCW");
  if (!v) return;
  v->cwZPos = cw_z_pos;
  v->cwZNeg = cw_z_neg;
  v->cwX = cw_x;
  v->cwY = cw_y;
}

void VESSEL::SetCrossSections(const VECTOR3 &cs) const {
  if (sim::Vessel *v = self(this, "SetCrossSections")) v->crossSections = cs;
}

void VESSEL::SetRotDrag(const VECTOR3 &rd) const {
  if (sim::Vessel *v = self(this, "SetRotDrag")) v->rotDrag = rd;
}

void VESSEL::SetPitchMomentScale(double scale) const {
  if (sim::Vessel *v = self(this, "SetPitchMomentScale")) v->pitchMomentScale = scale;
}

void VESSEL::SetBankMomentScale(double scale) const {
  if (sim::Vessel *v = self(this, "SetBankMomentScale")) v->bankMomentScale = scale;
}

void VESSEL::SetLiftCoeffFunc(LiftCoeffFunc lcf) const {
  sim::Vessel *v = self(this, "SetLiftCoeffFunc");
  if (!v) return;
  v->liftFunc = lcf;
}

void VESSEL::SetTouchdownPoints(const VECTOR3 &pt1, const VECTOR3 &pt2, const VECTOR3 &pt3) const {
  sim::Vessel *v = self(this, "SetTouchdownPoints");
  if (v) sim::physics::setTouchdownPoints(*v, pt1, pt2, pt3);
}

void VESSEL::SetCameraOffset(const VECTOR3 &co) const {
  if (sim::Vessel *v = self(this, "SetCameraOffset")) v->cameraOffset = co;
}

// The centre of mass moves; everything defined in the vessel frame stays put
// in that frame, so only the global position changes.
void VESSEL::ShiftCentreOfMass(const VECTOR3 &shift) {
  if (sim::Vessel *v = self(this, "ShiftCentreOfMass")) v->pos += v->rot * shift;
}

double VESSEL::GetMass() const {
  sim::Vessel *v = self(this, "GetMass");
  return v ? v->reportedMass(sim::World::current()->simTime()) : 0;
}

double VESSEL::GetEmptyMass() const {
  sim::Vessel *v = self(this, "GetEmptyMass");
  return v ? v->emptyMass : 0;
}

// --- State ---------------------------------------------------------------------

void VESSEL::GetStatus(VESSELSTATUS &status) const {
  sim::Vessel *v = self(this, "GetStatus");
  if (!v) {
    status = VESSELSTATUS{};
    return;
  }
  sim::World *w = sim::World::current();
  sim::fillStatus(*v, w->readable(*v), &w->planet, w->planet, w->planetPose(), status);
}

// A refused call zeroes what it was to write out, as GetStatus does: the
// caller may go on to read it.
void VESSEL::Local2Rel(const VECTOR3 &local, VECTOR3 &rel) const {
  sim::Vessel *v = self(this, "Local2Rel");
  const sim::physics::Motion k = v ? sim::World::current()->readable(*v) : sim::physics::Motion{};
  rel = v ? k.pos + k.rot * local : _V(0, 0, 0);
}

void VESSEL::GlobalRot(const VECTOR3 &rloc, VECTOR3 &rglob) const {
  sim::Vessel *v = self(this, "GlobalRot");
  rglob = v ? sim::World::current()->readable(*v).rot * rloc : _V(0, 0, 0);
}

void VESSEL::GetAngularVel(VECTOR3 &avel) const {
  sim::Vessel *v = self(this, "GetAngularVel");
  avel = v ? sim::World::current()->readable(*v).omega : _V(0, 0, 0);
}
