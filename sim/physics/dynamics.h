// Equations of motion of a free vessel and their integration over one step.
//
// Translation: gravity of the spherical planet, thrust, drag and the ground's push.
// Rotation, in the vessel frame with I the inertia per unit mass:
//   dwx/dt = (tx/m - (Iy - Iz) wy wz) / Ix, and cyclic,
// with the attitude R (vessel -> global) turning as dR/dt = R W, W r = r x w,
// so that a point of the vessel at r moves at r x w relative to its centre.
#pragma once

#include "sim/physics/mat3.h"
#include "sim/physics/planet/planet.h"

namespace sim {
struct Vessel;

namespace physics {

struct Motion {
  VECTOR3 pos{}, vel{};  // global frame [m], [m/s]
  Mat3 rot = Mat3::identity();
  VECTOR3 omega{};  // vessel frame [rad/s]
};

// What stays fixed through one step: handed over by the forces phase.
struct StepLoads {
  double mass = 0;         // at the start of the step [kg]
  double massFlow = 0;     // [kg/s]
  VECTOR3 thrust{};        // vessel frame [N]
  VECTOR3 thrustTorque{};  // vessel frame [N m]
  double density = 0;      // of the air around the vessel [kg/m^3]
  VECTOR3 spin{};          // of the planet and its air, global frame [rad/s]
  bool ground = false;     // the ground may be reached within the step: its push is worked out
};

// Advances a motion by h [s] with the classical fourth-order Runge-Kutta
// method; the attitude comes out orthonormal.
void integrate(Motion &m, const Vessel &def, const StepLoads &loads, const Planet &p, double h);

// Brings a nearly orthonormal attitude back to the nearest rotation.
Mat3 orthonormalised(const Mat3 &r);

}  // namespace physics
}  // namespace sim
