// The atmosphere: the US Standard Atmosphere 1976 up to 86 km, the simulator's
// default Earth upper air above. It turns with the planet (aerodynamics.h).
//
// Layers by geopotential altitude H = r0 z / (r0 + z), r0 = 6 356 766 m:
// 0-11 km lapse -6.5 K/km, 11-20 km isothermal, 20-32 km +1.0 K/km,
// 32-47 km +2.8 K/km, 47-51 km isothermal, 51-71 km -2.8 K/km,
// 71-84.852 km (86 km geometric) -2.0 K/km. Below the ground the lowest layer
// continues, to a depth of r0 / 2.
//
// Above 86 km geometric the density is the simulator's default upper-air model:
// Jacchia-71 in Gill's approximation at solar flux F10.7 = 140 and geomagnetic
// index Kp = 3, averaged over a year and over the day, tabulated per km of
// geometric altitude up to 1000 km (physics/earth_upper_air.txt). Its logarithm
// is interpolated linearly between the km rows and, above 1000 km, falls on
// with the scale height of the last km up to the model's top at 2500 km, above
// which temperature, pressure and density are 0, as the simulator has them
// outside a planet's atmosphere. At 86 km the switch lowers the density by
// 0.6 %. The temperature stays at its 86 km value, 186.946 K, and the pressure
// is that of an ideal gas of that density (only engines feel it there).
#pragma once

namespace sim {
namespace physics {

struct AirState {
  double temperature = 0;  // [K]
  double pressure = 0;     // [Pa]
  double density = 0;      // [kg/m^3]
};

double geopotentialAltitude(double altitude);  // [m] of a geometric altitude [m]
// The air at a geopotential altitude [m].
AirState airAtGeopotential(double geopotential);
// The air at a geometric altitude above the planet's mean radius [m].
AirState airAt(double altitude);

}  // namespace physics
}  // namespace sim
