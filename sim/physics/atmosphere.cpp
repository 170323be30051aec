// The US Standard Atmosphere 1976 and, above 86 km, the upper-air density table.
#include "sim/physics/atmosphere.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

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
// The last entry is the top of the table, which ends at 86 km geometric; its
// temperature holds on above.
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

// Deeper below the ground than this [m] the air stays as it is there: the
// geopotential altitude runs off to minus infinity near the planet's centre.
const double kDeepest = -0.5 * kEarthRadius;

// The air of the standard atmosphere at a geopotential altitude [m].
AirState standardAir(double h) {
  std::size_t i = kLayers.size() - 1;
  while (i > 0 && h < kLayers[i].base) --i;
  const double dh = h - kLayers[i].base;
  AirState air;
  air.temperature = kBases[i].temperature + kLayers[i].lapse * dh;
  air.pressure = pressureAbove(kBases[i], kLayers[i].lapse, dh);
  air.density = air.pressure / (kGasConstant * air.temperature);
  return air;
}

// The upper air's mean density at each km of geometric altitude, from 86 km up
// (the build writes earth_upper_air.inc from physics/earth_upper_air.txt).
struct UpperAirRow {
  int km;          // [km]
  double density;  // [kg/m^3]
};
constexpr UpperAirRow kUpperAirRows[] = {
#include "earth_upper_air.inc"
};
static_assert(kUpperAirRows[0].km == 86, "the upper air takes over where the standard atmosphere ends");
constexpr std::size_t kUpperAirLast = std::size(kUpperAirRows) - 1;
const double kUpperAirBase = 1e3 * kUpperAirRows[0].km;                        // [m]
const double kUpperAirBaseGeopotential = geopotentialAltitude(kUpperAirBase);  // [m]
// Above this altitude there is no air at all: the simulator's cut-off for
// Earth's default atmosphere (the altitude limit its model declares).
const double kAirTop = 2500e3;  // [m]

// ln of a row's density and its change per km up to the next row; the top row
// keeps that of the km below it, so the density goes on falling as it did there.
struct UpperAirStep {
  double logDensity;
  double slope;  // [1/km]
};
std::array<UpperAirStep, kUpperAirLast + 1> upperAirSteps() {
  std::array<UpperAirStep, kUpperAirLast + 1> s{};
  for (std::size_t i = 0; i <= kUpperAirLast; ++i) s[i].logDensity = std::log(kUpperAirRows[i].density);
  for (std::size_t i = 0; i < kUpperAirLast; ++i) s[i].slope = s[i + 1].logDensity - s[i].logDensity;
  s[kUpperAirLast].slope = s[kUpperAirLast - 1].slope;
  return s;
}
const std::array<UpperAirStep, kUpperAirLast + 1> kUpperAir = upperAirSteps();

// The air above 86 km at a geometric altitude [m]: the density from its row,
// log-interpolated, the temperature of the standard atmosphere's top held, the
// pressure of an ideal gas.
AirState upperAir(double altitude) {
  if (altitude > kAirTop) return {};
  const double km = (altitude - kUpperAirBase) * 1e-3;  // above the first row
  const std::size_t i = km < kUpperAirLast ? static_cast<std::size_t>(km) : kUpperAirLast;
  AirState air;
  air.temperature = kBases.back().temperature;
  air.density = std::exp(kUpperAir[i].logDensity + kUpperAir[i].slope * (km - static_cast<double>(i)));
  air.pressure = air.density * kGasConstant * air.temperature;
  return air;
}

}  // namespace

double geopotentialAltitude(double altitude) { return kEarthRadius * altitude / (kEarthRadius + altitude); }

AirState airAtGeopotential(double h) {
  if (h <= kUpperAirBaseGeopotential) return standardAir(h);
  // Back to geometric altitude; at r0 and beyond that is infinitely high, given
  // as a constant rather than by the division by 0 at r0.
  return upperAir(h < kEarthRadius ? kEarthRadius * h / (kEarthRadius - h) : HUGE_VAL);
}

AirState airAt(double altitude) {
  if (altitude > kUpperAirBase) return upperAir(altitude);
  return standardAir(geopotentialAltitude(std::max(altitude, kDeepest)));
}

}  // namespace physics
}  // namespace sim
