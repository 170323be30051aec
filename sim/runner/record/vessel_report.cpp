#include "sim/runner/record/vessel_report.h"

namespace sim {
namespace runner {

const char *statusWord(const Vessel &v) { return v.crashed ? "crashed" : v.landed ? "landed" : "flight"; }

// A vessel created landed stands where its status record's first vector says.
bool creationPlace(const World &w, const Vessel &v, Place &place) {
  if (v.createdAt < 0) return false;
  const VESSELSTATUS &s = v.givenStatus;
  if (s.status == 1) {
    place = {s.vdata[0].y * kDegPerRad, s.vdata[0].x * kDegPerRad, 0};
    return true;
  }
  const double planetTime = w.planetTimeAt(v.createdAt);  // [s]
  double lng, lat;
  physics::toSurface(w.planet, s.rpos, planetTime, lng, lat, place.altitude);
  place.latitude = lat * kDegPerRad;
  place.longitude = lng * kDegPerRad;
  return true;
}

}  // namespace runner
}  // namespace sim
