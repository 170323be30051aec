// The US Standard Atmosphere 1976 and its fade above 86 km.
#include "sim/physics/atmosphere.h"

#include <array>
#include <cmath>

#include "sim/world/vessel.h"

namespace sim {
namespace physics {
namespace {

const double kG0 = 9.80665;                       // standard gravity [m/s^2]
const double kGasConstant = 8.31432 / 0.0289644;  // R* / M0 for air [J/(kg K)]
const double kEarthRadius = 6356766.0;            // radius for geopotential altitude [m]

struct Layer {
  double base;   // geopotential altitude of the layer's base [m]
  double lapse;  // temperature gradient [K/m]
};
// The last entry is the top of the table, where the fade begins.
const std::array<Layer, 8> kLayers{{{0, -0.0065},
                                    {11000, 0},
                                    {20000, 0.001},
                                    {32000, 0.0028},
                                    {47000, 0},
                                    {51000, -0.0028},
                                    {71000, -0.002},
                                    {84852, 0}}};
const double kSeaLevelTemperature = 288.15;  // [K]
const double kSeaLevelPressure = 101325.0;   // [Pa]

// Temperature and pressure at the base of a layer, given those at the base of the one below.
struct LayerBase {
  double temperature;  // [K]
  double pressure;     // [Pa]
};

// Pressure at height dh [m] above a base in a layer with the given lapse.
double pressureAbove(const LayerBase &b, double lapse, double dh) {
  if (lapse == 0) return b.pressure * std::exp(-kG0 * dh / (kGasConstant * b.temperature));
  return b.pressure * std::pow(b.temperature / (b.temperature + lapse * dh), kG0 / (kGasConstant * lapse));
}

// The base values follow from sea level by the hydrostatic equation, layer by layer.
std::array<LayerBase, kLayers.size()> layerBases() {
  std::array<LayerBase, kLayers.size()> b{};
  b[0] = {kSeaLevelTemperature, kSeaLevelPressure};
  for (std::size_t i = 1; i < kLayers.size(); ++i) {
    const double dh = kLayers[i].base - kLayers[i - 1].base;
    b[i] = {b[i - 1].temperature + kLayers[i - 1].lapse * dh, pressureAbove(b[i - 1], kLayers[i - 1].lapse, dh)};
  }
  return b;
}

const std::array<LayerBase, kLayers.size()> kBases = layerBases();

}  // namespace

double geopotentialAltitude(double altitude) { return kEarthRadius * altitude / (kEarthRadius + altitude); }

AirState airAtGeopotential(double h) {
  std::size_t i = kLayers.size() - 1;
  while (i > 0 && h < kLayers[i].base) --i;
  const double dh = h - kLayers[i].base;
  AirState air;
  air.temperature = kBases[i].temperature + kLayers[i].lapse * dh;
  air.pressure = pressureAbove(kBases[i], kLayers[i].lapse, dh);
  air.density = air.pressure / (kGasConstant * air.temperature);
  return air;
}

AirState airAt(double altitude) { return airAtGeopotential(geopotentialAltitude(altitude)); }

VECTOR3 airVelocity(const Planet &p, const VECTOR3 &pos) { return surfaceVelocity(p, pos); }

double airspeed(const Vessel &v, const Planet &p) { return length(v.vel - airVelocity(p, v.pos)); }

}  // namespace physics
}  // namespace sim
