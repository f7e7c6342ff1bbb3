// The parameter step table of the quadratic B-spline and Catmull-Rom
// polylines, and the parameters of one segment that a step gives.
#pragma once

#include <cstdint>

namespace zv::polyline {

// Step for modes 0..6; every other mode, negative ones included, gets 0.05.
inline double parameter_step(int16_t mode) {
  static constexpr double kSteps[] = {0.01, 0.02, 0.04, 0.05, 0.1, 0.2, 0.5};
  return mode >= 0 && mode <= 6 ? kSteps[mode] : 0.05;
}

// The parameters t = 0, h, 2h, ... of one segment, accumulated by addition
// (as the segment loops always did, so the values are those of the loop),
// for as long as more(t) holds after each step. The table's smallest step
// gives 101 values at most.
struct SegmentParameters {
  static constexpr int kMax = 101;
  double t[kMax];
  int count = 0;

  template <class More>
  SegmentParameters(double h, More more) {
    double u = 0.0;
    do {
      t[count++] = u;
      u = u + h;
    } while (more(u) && count < kMax);
  }
};

}  // namespace zv::polyline
