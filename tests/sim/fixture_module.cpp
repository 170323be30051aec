// A small vessel module for the host's own tests, loaded the way the simulator
// loads any module: it defines a tank and two main engines in clbkSetClassCaps,
// the first of them lit, and keeps a note of its own in the scenario. A
// timed burn (BURN seconds) shuts the engines down when its time is up; the
// note "forgetful" makes it leave the time still to burn out of its save.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/Orbitersdk.h"

namespace {

// Final: the host's VESSEL2 has no virtual destructor, and ovcExit deletes a Probe as one.
class Probe final : public VESSEL2 {
 public:
  explicit Probe(OBJHANDLE h) : VESSEL2(h, 1) {}

  void clbkSetClassCaps(FILEHANDLE cfg) override {
    SetEmptyMass(111);
    SetSize(7);
    PROPELLANT_HANDLE tank = CreatePropellantResource(50);
    THRUSTER_HANDLE engines[2] = {CreateThruster(_V(-1, 0, -2), _V(0, 0, 1), 1000, tank, 3000),
                                  CreateThruster(_V(1, 0, -2), _V(0, 0, 1), 1000, tank, 3000)};
    CreateThrusterGroup(engines, 2, THGROUP_MAIN);
    SetThrusterLevel(engines[0], 1);
  }

  void load(FILEHANDLE scn, void *status) {
    char *line;
    while (oapiReadScenario_nextline(scn, line)) {
      if (!std::strncmp(line, "NOTE ", 5))
        note = line + 5;
      else if (!std::strncmp(line, "BURN ", 5))
        burnLeft = std::atof(line + 5);
      else
        ParseScenarioLineEx(line, status);
    }
  }

  void save(FILEHANDLE scn) {
    SaveDefaultState(scn);
    if (!note.empty()) oapiWriteScenario_string(scn, const_cast<char *>("NOTE"), &note[0]);
    char burn[32];
    std::snprintf(burn, sizeof burn, "%.17g", burnLeft);
    if (burnLeft > 0 && note != "forgetful") oapiWriteScenario_string(scn, const_cast<char *>("BURN"), burn);
  }

  void clbkPostStep(double, double simdt, double) override {
    if (burnLeft <= 0) return;
    burnLeft -= simdt;
    if (burnLeft <= 0) SetThrusterGroupLevel(THGROUP_MAIN, 0);
  }

  std::string note;
  double burnLeft = 0;  // [s]
};

}  // namespace

DLLCLBK VESSEL *ovcInit(OBJHANDLE hvessel, int flightmodel) { return new Probe(hvessel); }
DLLCLBK void ovcExit(VESSEL *vessel) { delete static_cast<Probe *>(vessel); }
DLLCLBK void ovcLoadStateEx(VESSEL *vessel, FILEHANDLE scn, void *status) {
  static_cast<Probe *>(vessel)->load(scn, status);
}
DLLCLBK void ovcSaveState(VESSEL *vessel, FILEHANDLE scn) { static_cast<Probe *>(vessel)->save(scn); }
