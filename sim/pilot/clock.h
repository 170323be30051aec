// The simulation clock is a sum of steps, so a time such as 1 s may be reached
// a hair before 1.0 exactly; comparisons with a time allow for that.
#pragma once

#include <cmath>

namespace sim {
namespace pilot {

inline bool timeReached(double now, double t) { return now >= t - 1e-9 * (1 + std::fabs(t)); }

}  // namespace pilot
}  // namespace sim
