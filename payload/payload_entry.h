// The manifest's records: one payload or stage per slot of a fixed table.
//
// A stage is a payload that carries further entries; its members follow it in
// the table and name it as their parent, so the table is the manifest's tree
// in reading order. Records copy by value, their texts included.
#pragma once

#include <string>

#include "OrbiterAPI.h"

const int MAX_PAYLOAD_ENTRIES = 50;  // slots in a carrier's manifest

// PAYLOAD_ENTRY::kind
const unsigned short KIND_PAYLOAD = 0;
const unsigned short KIND_STAGE = 1;

struct PAYLOAD_MESH {
  MESHHANDLE hMesh = nullptr;  // from oapiLoadMesh; the carrier never deletes it
  VECTOR3 offset{};            // from the payload stack origin, carrier frame [m]
  std::string meshName;        // as written in the manifest
  UINT meshIndex = 0;          // what AddMesh returned when last added to the carrier
};

struct PAYLOAD_ENTRY {
  unsigned short kind = 0;  // 0 payload, 1 stage
  bool used = false;        // the slot holds an entry; a freed slot keeps its old values
  short parent = 0;         // index of the enclosing stage entry, -1 at top level
  char name[128] = {};      // vessel name of the released payload
  PAYLOAD_MESH mesh;
  VECTOR3 carrierPos{};      // where the payload sits, carrier frame [m]
  char className[128] = {};  // vessel class of the released payload
  double mass = 0;           // [kg]
  double rotAngle = 0;       // turn about the carrier's x axis at release [deg]
  double fuel = 0;           // fuel at release [fraction of the payload's maximum]
  VECTOR3 releaseVel{};      // separation velocity, carrier frame [m/s]
};
