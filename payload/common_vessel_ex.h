// The payload manager: a base class for vessels that carry payloads. It holds
// the manifest and the payload meshes shown on the carrier, and binds the
// vessel to the message module through which carriers hand manifests on.
//
// It overrides none of the host's callbacks; the derived vessel calls its
// operations from its own.
#pragma once

#include <vector>

#include "Orbitersdk.h"
#include "cvelmessage.h"
#include "payload_entry.h"

class _COMMON_VESSEL_EX {
 public:
  // Receives the keywords that are not manifest keywords, with their line; a
  // carrier with keys of its own overrides it.
  virtual void ParseOtherKeyword(char *keyword, char *line) {}

 protected:
  ~_COMMON_VESSEL_EX() = default;  // destroyed only as part of its vessel
};

class COMMON_VESSEL_EX : public VESSEL2, public _COMMON_VESSEL_EX {
 public:
  explicit COMMON_VESSEL_EX(OBJHANDLE hVessel);
  // The host's VESSEL has no virtual destructor; from here on there is one, so a
  // carrier may be deleted through this base as well as through its own type.
  virtual ~COMMON_VESSEL_EX();
  COMMON_VESSEL_EX(const COMMON_VESSEL_EX &) = delete;
  COMMON_VESSEL_EX &operator=(const COMMON_VESSEL_EX &) = delete;

  // Hands one message to the message module for the target vessel; does
  // nothing without the module or its SendCMessage.
  void SendManifestMessage(VESSEL *target, const char *key, const char *line);

  // Reading manifest text. A scenario line goes in whole and is left as it was,
  // for the vessel to read on; other keywords go to ParseOtherKeyword.
  void ParseScenarioLine(const char *line);
  void ParseKeyword(const char *keyword, const char *line);
  void ParseManifestLine(const char *line);
  // Takes in every message pending for this vessel; true if one had a text.
  // With both buffers (256 and 2048 characters) given, they receive the last one.
  bool ReceiveManifestMessages(char *lastKey, char *lastLine);
  bool ReceiveManifestMessages();

  // The payloads on the carrier, placed from the payload stack origin given in
  // the carrier's frame [m]. Clearing removes the carrier's own meshes too.
  void ClearPayloadMeshes();
  void AddPayloadMeshes(const VECTOR3 &stackOrigin);
  void AddPayloadMeshes();
  // Total payload mass [kg]; centre: its mass-weighted mean offset [m].
  double GetPayloadMass(VECTOR3 &centre) const;
  double GetPayloadMass() const;

  // Writes the manifest into the vessel's scenario block, after the vessel's own lines.
  void SaveManifest(FILEHANDLE scn) const;

  // Releases the last entry of the manifest, or the stage that ends the
  // manifest with everything it carries, as a new vessel at its place on the
  // carrier. Returns it, or null when nothing was released.
  VESSEL *ReleaseNextStage();
  // The separation velocity of the next release only, carrier frame [m/s].
  void SetReleaseVelocity(const VECTOR3 &v);
  // A vessel at offset [m] from the carrier, moving at the carrier's velocity
  // plus vel [m/s] (both carrier frame), turning at the carrier's angular
  // velocity plus angVelIncrement [rad/s]. Null when the host refuses it.
  VESSEL *CreateVesselAt(const char *name, const char *className, const VECTOR3 &offset, const VECTOR3 &vel,
                         const VECTOR3 &angVelIncrement);

  PAYLOAD_ENTRY entries[MAX_PAYLOAD_ENTRIES];
  short openStage = -1;                     // stage entry that newly read entries go into, -1 at top level
  short rejectedStages = 0;                 // stages opened by rejected lines, not yet closed: their lines go too;
                                            // it stops at its largest value
  std::vector<PAYLOAD_MESH> payloadMeshes;  // meshes added to the carrier, in the order added
  HMODULE hMessageModule = nullptr;         // null when the message module could not be loaded
  DWORD payloadMeshVisMode = MESHVIS_EXTERNAL;
  VECTOR3 releaseVelOverride = _V(0, 0, 1);  // used by the next release when armed, carrier frame [m/s]
  bool releaseVelOverrideSet = false;

 private:
  int FreeEntrySlot() const;  // the lowest, or -1 when the manifest is full
  // False when the line is rejected.
  bool ReadEntry(int slot, unsigned short kind, char *fieldText, bool lineCut, const char *line);
  void RejectManifestLine(const char *line, const char *reason) const;
  // The carrier's status for a body leaving it, its engines' settings cleared.
  VESSELSTATUS ReleaseStatus(const VECTOR3 &offset, const VECTOR3 &push) const;
  VESSEL *ReleaseLastEntry();
  int LastUsedSlot() const;  // -1 when the manifest is empty
  int ReleasedStage(int last) const;
  bool HandOnStage(VESSEL *stage, int s, int last);
  // The message module's CheckCMessage, called at every step: looked up once, when the module is loaded,
  // which it stays while the vessel lives. Null without the module or the function.
  CheckCMessageFunc checkMessage = nullptr;
  // A message-module function, looked up at each use: null without the module or the function.
  template <typename F>
  F MessageFunction(const char *name) const {
    // The detour through void (*)() tells the compiler the type change is meant.
    return hMessageModule ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(hMessageModule, name)))
                          : nullptr;
  }
};
