// The atmosphere: the US Standard Atmosphere 1976 up to 86 km, an isothermal
// exponential fade above, all of it turning with the planet.
//
// Layers by geopotential altitude H = r0 z / (r0 + z), r0 = 6 356 766 m:
// 0-11 km lapse -6.5 K/km, 11-20 km isothermal, 20-32 km +1.0 K/km,
// 32-47 km +2.8 K/km, 47-51 km isothermal, 51-71 km -2.8 K/km,
// 71-84.852 km (86 km geometric) -2.0 K/km. Above that the temperature stays
// at 186.946 K, so pressure and density keep falling with the scale height
// they had at 86 km (about 5.47 km) and join the table without a kink.
// Below the ground the lowest layer continues.
#pragma once

#include "sim/physics/planet/planet.h"

namespace sim {
struct Vessel;

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

// Velocity of the air at a global position: it turns with the planet [m/s].
VECTOR3 airVelocity(const Planet &p, const VECTOR3 &pos);
// Speed of a vessel relative to the air around it [m/s] (what oapiGetAirspeed reports).
double airspeed(const Vessel &v, const Planet &p);

}  // namespace physics
}  // namespace sim
