// The soak flight's fleet: twenty launchers on pads of their own, each with a
// manifest of dispensers within dispensers carrying satellites. The manifests
// come in three shapes, so that every way a release takes a manifest apart is
// flown: a top-level satellite alone, a stage that climbs to the stage around
// it, and an inner stage that leaves its carrier before the stage around it.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace soak {

const int kLaunchers = 20;
const char kLauncherClass[] = "Varnell";
const char kDispenserClass[] = "Varnell\\Dispenser";
const char kSatClass[] = "Varnell\\Sat";
const char kBoosterClass[] = "Varnell\\Varnellstg0";
const char kFairingClasses[2][32] = {"Varnell\\Varnellplf1", "Varnell\\Varnellplf2"};

const double kPadLongitude = -80.6040;  // of the first pad [deg]
const double kPadSpacing = 0.01;        // eastwards, about 1 km [deg]
const double kPadLatitude = 28.6083;    // [deg]

// One line of a manifest shape. A stage is a dispenser, a payload a satellite,
// each shown with its own class's mesh; names get the launcher's prefix.
struct ShapeLine {
  const char *keyword;  // STAGE, PAYLOAD or ENDSTAGE
  const char *name;
  double x, y, z;  // from the payload stack origin [m]
  double mass;     // [kg]
  double angle;    // turn about the carrier's x axis at release [deg]
};

const std::vector<ShapeLine> kShapes[] = {
    // A dispenser in a dispenser, a satellite beside it, and one at the top
    // level, which the launcher's first J releases alone.
    {{"STAGE", "D1", 0, 0, 25.0, 450, 0},
     {"STAGE", "D2", 0, 0, 25.8, 450, 0},
     {"PAYLOAD", "S1", 0.8, 0, 26.6, 600, 0},
     {"PAYLOAD", "S2", -0.8, 0, 26.6, 600, 30},
     {"ENDSTAGE", nullptr, 0, 0, 0, 0, 0},
     {"PAYLOAD", "S3", 0, 0.8, 27.6, 600, 90},
     {"ENDSTAGE", nullptr, 0, 0, 0, 0, 0},
     {"PAYLOAD", "S4", 0, 0, 29.0, 300, 0}},
    // Three deep, each dispenser the first entry of the one around it: one J
    // on the launcher hands the outermost everything below it.
    {{"STAGE", "D1", 0, 0, 25.0, 450, 0},
     {"STAGE", "D2", 0, 0, 25.6, 450, 0},
     {"STAGE", "D3", 0, 0, 26.2, 450, 0},
     {"PAYLOAD", "S1", 0, 0, 27.0, 600, 0},
     {"ENDSTAGE", nullptr, 0, 0, 0, 0, 0},
     {"PAYLOAD", "S2", 1.0, 0, 27.6, 600, 45},
     {"ENDSTAGE", nullptr, 0, 0, 0, 0, 0},
     {"ENDSTAGE", nullptr, 0, 0, 0, 0, 0},
     {"PAYLOAD", "S3", 0, -1.0, 28.5, 300, 0}},
    // A dispenser whose last member is a dispenser: the inner one leaves the
    // launcher first, the outer one with its two satellites after it.
    {{"STAGE", "D1", 0, 0, 25.0, 450, 0},
     {"PAYLOAD", "S1", 0.9, 0, 25.8, 600, 0},
     {"PAYLOAD", "S2", -0.9, 0, 25.8, 600, 0},
     {"STAGE", "D2", 0, 0, 26.8, 450, 0},
     {"PAYLOAD", "S3", 0.7, 0, 27.6, 500, 0},
     {"PAYLOAD", "S4", -0.7, 0, 27.6, 500, -20},
     {"ENDSTAGE", nullptr, 0, 0, 0, 0, 0},
     {"ENDSTAGE", nullptr, 0, 0, 0, 0, 0}},
};
const int kShapeCount = sizeof kShapes / sizeof kShapes[0];

inline const std::vector<ShapeLine> &shapeOf(int launcher) { return kShapes[launcher % kShapeCount]; }

inline std::string launcherName(int launcher) {
  char name[16];
  std::snprintf(name, sizeof name, "L%02d", launcher + 1);
  return name;
}

inline std::string payloadName(int launcher, const ShapeLine &l) { return launcherName(launcher) + "-" + l.name; }

inline const char *classOf(const ShapeLine &l) {
  return std::string(l.keyword) == "STAGE" ? kDispenserClass : kSatClass;
}

// Each launcher's satellites get their own share of fuel, so that a tank
// mixed up with another's shows [fraction].
inline double fuelOf(int launcher) { return 0.2 + 0.04 * launcher; }

struct Payload {
  std::string name;
  std::string className;
};

inline std::vector<Payload> payloads() {
  std::vector<Payload> all;
  for (int k = 0; k < kLaunchers; ++k)
    for (const ShapeLine &l : shapeOf(k))
      if (l.name) all.push_back({payloadName(k, l), classOf(l)});
  return all;
}

inline std::string manifestLine(int launcher, const ShapeLine &l) {
  if (!l.name) return l.keyword;
  char line[256];
  std::snprintf(line, sizeof line, "%s %s %s %s %.2f %.2f %.2f %.2f %.2f %.2f", l.keyword,
                payloadName(launcher, l).c_str(), classOf(l), classOf(l), l.x, l.y, l.z, l.mass, l.angle,
                fuelOf(launcher));
  return line;
}

inline std::string launcherBlock(int k) {
  char place[96];
  std::snprintf(place, sizeof place, "  STATUS Landed Earth\n  POS %.4f %.4f\n  HEADING 90\n",
                kPadLongitude + k * kPadSpacing, kPadLatitude);
  std::string block = launcherName(k) + ":" + kLauncherClass + "\n" + place + "  CONFIGURATION 0\n  FAIRING 1\n";
  for (const ShapeLine &l : shapeOf(k)) block += "  " + manifestLine(k, l) + "\n";
  return block + "END\n";
}

inline std::string fleetScenario() {
  std::string text =
      "BEGIN_DESC\nTwenty Varnell launchers on neighbouring pads, fairings on, manifests loaded.\nEND_DESC\n\n"
      "BEGIN_ENVIRONMENT\n  System Sol\n  Date MJD 61000.5\nEND_ENVIRONMENT\n\n"
      "BEGIN_FOCUS\n  Ship L01\nEND_FOCUS\n\nBEGIN_SHIPS\n";
  for (int k = 0; k < kLaunchers; ++k) text += launcherBlock(k);
  return text + "END_SHIPS\n";
}

}  // namespace soak
