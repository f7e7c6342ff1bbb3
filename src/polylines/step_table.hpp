// The parameter step table of the quadratic B-spline and Catmull-Rom
// polylines, and the weights of one segment at the parameters a step gives.
#pragma once

#include <cstdint>

#include "polylines/polyline_forms.hpp"

namespace zv::polyline {

// Step for modes 0..6; every other mode, negative ones included, gets 0.05.
inline double parameter_step(int16_t mode) {
  static constexpr double kSteps[] = {0.01, 0.02, 0.04, 0.05, 0.1, 0.2, 0.5};
  return mode >= 0 && mode <= 6 ? kSteps[mode] : 0.05;
}

// The blending weights of one segment at t = 0, h, 2h, ..., accumulated by
// addition (so the values are those of a loop stepping t), for as long as
// more(t) holds after each step. Every segment of a call is sampled at the
// same parameters, so the weights are formed once per call. The table's
// smallest step gives 101 parameters at most.
template <int K>
struct SegmentWeights {
  static constexpr int kMax = 101;
  Weights<K> at[kMax];
  int count = 0;

  template <class More, class Basis>
  SegmentWeights(double h, More more, Basis basis) {
    double t = 0.0;
    do {
      at[count++] = basis(t);
      t = t + h;
    } while (more(t) && count < kMax);
  }
};

}  // namespace zv::polyline
