// The JSON description of a curve that zvcurve reads and writes:
//
//   {"kind": "bspline", "degree": 3, "control_points": [[x, y, z], ...],
//    "knots": [...], "weights": [...], "steps": 10}
//
// kinds: "bspline" (non-uniform B-spline), "nurbs", "rational-bezier",
// "uniform-bspline", "uniform-bezier", "catmull-rom", "beta-spline" (with
// "bias" and "tension"). Knots are the full clamped vector of n + p + 1
// values (the library's own n + p - 1, without the outermost knot at either
// end, is accepted too); without knots a bspline or nurbs gets uniform
// clamped knots over 0..1. steps: samples per span (bspline, nurbs),
// segments per unit parameter step (uniform kinds: t step 1/steps), or
// parameter steps over 0..1 (rational-bezier).
#pragma once

#include <rivezi3z/rivezi3z.hpp>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace zvcurve {

struct CurveDescription {
  std::string kind;
  int degree = 3;
  std::vector<zv_pnt_3d> points;
  std::vector<double> knots;    // as given (full or library form), empty when absent
  std::vector<double> weights;  // empty when absent
  int steps = 10;
  double bias = 1.0, tension = 0.0;
};

// Reads and checks a description; a bad field throws InputError naming
// "name: field 'path'".
CurveDescription description_from_json(const nlohmann::json &doc, const std::string &name);

// The description of an array-form record (the fit's result).
nlohmann::json description_to_json(const zv_nurbs_3d &record, int steps);

// A curve record built and tessellated from the description; a failure
// throws InputError naming the file and the library's result code.
rivezi3z::Curve tessellated(const CurveDescription &desc, const std::string &name);

}  // namespace zvcurve
