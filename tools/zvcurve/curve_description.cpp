// Curve descriptions: checked reading, writing, building records.
#include "curve_description.hpp"

#include <cmath>

#include "input.hpp"

namespace zvcurve {

using nlohmann::json;

namespace {

const char *const kKinds[] = {"bspline",         "nurbs",       "rational-bezier", "uniform-bspline",
                              "uniform-bezier",  "catmull-rom", "beta-spline"};

[[noreturn]] void bad_field(const std::string &name, const std::string &field, const std::string &what) {
  throw InputError(name + ": field '" + field + "': " + what);
}

double finite_number(const json &value, const std::string &name, const std::string &field) {
  if (!value.is_number()) bad_field(name, field, "expected a number");
  const double v = value.get<double>();
  if (!std::isfinite(v)) bad_field(name, field, "expected a finite number");
  return v;
}

int whole_number(const json &doc, const char *key, int fallback, int lo, int hi, const std::string &name) {
  if (!doc.contains(key)) return fallback;
  const json &value = doc.at(key);
  if (!value.is_number_integer() || value.get<long long>() < lo || value.get<long long>() > hi)
    bad_field(name, key, "expected a whole number from " + std::to_string(lo) + " to " + std::to_string(hi));
  return value.get<int>();
}

std::vector<double> numbers(const json &doc, const char *key, const std::string &name) {
  std::vector<double> out;
  if (!doc.contains(key)) return out;
  const json &list = doc.at(key);
  if (!list.is_array()) bad_field(name, key, "expected an array of numbers");
  for (size_t i = 0; i < list.size(); ++i)
    out.push_back(finite_number(list[i], name, std::string(key) + "[" + std::to_string(i) + "]"));
  return out;
}

// The library's knot form: the clamped vector without its outermost knots.
std::vector<double> library_knots(const CurveDescription &desc, const std::string &name) {
  const size_t n = desc.points.size(), p = static_cast<size_t>(desc.degree);
  if (desc.knots.empty()) {
    std::vector<double> k;
    const size_t spans = n - p;
    for (size_t i = 0; i + 1 < p; ++i) k.push_back(0.0);
    for (size_t i = 0; i <= spans; ++i) k.push_back(static_cast<double>(i) / static_cast<double>(spans));
    for (size_t i = 0; i + 1 < p; ++i) k.push_back(1.0);
    return k;
  }
  for (size_t i = 1; i < desc.knots.size(); ++i)
    if (desc.knots[i] < desc.knots[i - 1]) bad_field(name, "knots[" + std::to_string(i) + "]", "knots decrease here");
  if (desc.knots.size() == n + p + 1) return {desc.knots.begin() + 1, desc.knots.end() - 1};
  if (desc.knots.size() == n + p - 1) return desc.knots;
  bad_field(name, "knots",
            "expected " + std::to_string(n + p + 1) + " values (or " + std::to_string(n + p - 1) + "), got " +
                std::to_string(desc.knots.size()));
}

// Fails with the library's result code for the step that refused.
void check(rivezi3z::Status status, const std::string &name, const char *function) {
  if (!status)
    throw InputError(name + ": " + function + " returned " + std::to_string(status.code()) +
                     (status.memory_refused() ? " (memory refused)" : ""));
}

rivezi3z::List<zv_rnumber> weight_list(const CurveDescription &desc) {
  std::vector<double> w = desc.weights;
  if (w.empty()) w.assign(desc.points.size(), 1.0);
  return rivezi3z::reals(w);
}

}  // namespace

CurveDescription description_from_json(const json &doc, const std::string &name) {
  if (!doc.is_object()) throw InputError(name + ": expected a JSON object describing a curve");
  CurveDescription desc;
  if (!doc.contains("kind") || !doc.at("kind").is_string()) bad_field(name, "kind", "expected a kind name");
  desc.kind = doc.at("kind").get<std::string>();
  bool known = false;
  for (const char *k : kKinds) known = known || desc.kind == k;
  if (!known)
    bad_field(name, "kind",
              "unknown kind '" + desc.kind +
                  "' (bspline, nurbs, rational-bezier, uniform-bspline, uniform-bezier, catmull-rom, beta-spline)");

  if (!doc.contains("control_points") || !doc.at("control_points").is_array())
    bad_field(name, "control_points", "expected an array of [x, y] or [x, y, z] points");
  const json &pts = doc.at("control_points");
  for (size_t i = 0; i < pts.size(); ++i) {
    const std::string field = "control_points[" + std::to_string(i) + "]";
    if (!pts[i].is_array() || pts[i].size() < 2 || pts[i].size() > 3)
      bad_field(name, field, "expected [x, y] or [x, y, z]");
    double xyz[3] = {0.0, 0.0, 0.0};
    for (size_t c = 0; c < pts[i].size(); ++c)
      xyz[c] = finite_number(pts[i][c], name, field + "[" + std::to_string(c) + "]");
    desc.points.push_back({xyz[0], xyz[1], xyz[2]});
  }
  const int n = static_cast<int>(desc.points.size());

  const bool uniform = desc.kind.rfind("uniform-", 0) == 0 || desc.kind == "catmull-rom" || desc.kind == "beta-spline";
  const int default_degree = desc.kind == "rational-bezier" ? std::max(1, n - 1) : 3;
  desc.degree = whole_number(doc, "degree", default_degree, 1, 15, name);
  if (uniform && desc.degree != 3) bad_field(name, "degree", "uniform kinds are cubic (3)");
  desc.steps = whole_number(doc, "steps", 10, 1, 10000, name);
  desc.knots = numbers(doc, "knots", name);
  desc.weights = numbers(doc, "weights", name);
  if (doc.contains("bias")) desc.bias = finite_number(doc.at("bias"), name, "bias");
  if (doc.contains("tension")) desc.tension = finite_number(doc.at("tension"), name, "tension");

  const int needed = uniform ? 4 : desc.degree + 1;
  if (n < needed)
    bad_field(name, "control_points",
              "a " + desc.kind + " of degree " + std::to_string(desc.degree) + " needs at least " +
                  std::to_string(needed) + " points, got " + std::to_string(n));
  if (n > 10000) bad_field(name, "control_points", "at most 10000 points");
  if (!desc.weights.empty() && static_cast<int>(desc.weights.size()) != n)
    bad_field(name, "weights",
              "expected one weight per control point (" + std::to_string(n) + "), got " +
                  std::to_string(desc.weights.size()));
  if (desc.kind != "nurbs" && desc.kind != "rational-bezier" && !desc.weights.empty())
    bad_field(name, "weights", "only nurbs and rational-bezier curves have weights");
  if (desc.kind == "rational-bezier" && desc.degree != n - 1)
    bad_field(name, "degree", "a rational-bezier of " + std::to_string(n) + " points has degree " + std::to_string(n - 1));
  if (desc.kind == "bspline" || desc.kind == "nurbs") {
    library_knots(desc, name);  // checks count and order
  } else if (!desc.knots.empty()) {
    bad_field(name, "knots", "only bspline and nurbs curves have knots");
  }
  return desc;
}

json description_to_json(const zv_nurbs_3d &record, int steps) {
  json doc;
  doc["kind"] = "bspline";
  doc["degree"] = record.degree;
  json pts = json::array();
  const int spatial = record.plain ? record.dim : record.dim - 1;
  for (int k = 0; k <= record.last_ctrl; ++k) {
    const double *c = record.ctrl_pts + static_cast<ptrdiff_t>(k) * record.dim;
    const double w = record.plain ? 1.0 : c[record.dim - 1];
    json p = json::array({c[0] / w, c[1] / w, spatial > 2 && !record.planar ? c[2] / w : 0.0});
    pts.push_back(p);
  }
  doc["control_points"] = pts;
  doc["knots"] = std::vector<double>(record.knots, record.knots + record.last_knot + 1);
  doc["steps"] = steps;
  return doc;
}

rivezi3z::Curve tessellated(const CurveDescription &desc, const std::string &name) {
  rivezi3z::Status made;
  rivezi3z::List<zv_poly_3d> ctrl = rivezi3z::polygon(desc.points, &made);
  check(made, name, "ll_add_list_item");
  const auto spans = static_cast<int16_t>(desc.points.size() - static_cast<size_t>(desc.degree));
  const auto degree = static_cast<int16_t>(desc.degree);
  const auto steps = static_cast<int16_t>(desc.steps);

  if (desc.kind == "bspline") {
    rivezi3z::List<zv_rnumber> knots = rivezi3z::reals(library_knots(desc, name));
    rivezi3z::Curve curve = rivezi3z::define_nubspline(ctrl, knots, degree, steps);
    if (!curve) throw InputError(name + ": zv_def_nubspl_curve3d refused the curve");
    check(curve.tessellate_nubspline(), name, "zv_mk_nubspline_3d");
    return curve;
  }
  if (desc.kind == "nurbs") {
    auto [curve, status] = rivezi3z::define_nurbs(std::move(ctrl), rivezi3z::reals(library_knots(desc, name)),
                                                  weight_list(desc), degree, steps);
    check(status, name, "zv_mk_def_nurb_curve3d");
    check(curve.tessellate_nurbs(spans), name, "zv_mk_nurb_curve3d");
    return std::move(curve);
  }
  if (desc.kind == "rational-bezier") {
    std::vector<double> params;
    for (int i = 0; i <= desc.steps; ++i) params.push_back(static_cast<double>(i) / desc.steps);
    auto [curve, status] =
        rivezi3z::define_rational_bezier(std::move(ctrl), rivezi3z::reals(params), weight_list(desc), degree);
    check(status, name, "zv_def_ratbezier_curve3d");
    check(curve.tessellate_rational_bezier(), name, "zv_mk_rat_bezier_3d");
    return std::move(curve);
  }
  rivezi3z::Curve curve = desc.kind == "uniform-bspline"  ? rivezi3z::define_ubspline(ctrl)
                          : desc.kind == "uniform-bezier" ? rivezi3z::define_ubezier(ctrl)
                          : desc.kind == "catmull-rom"    ? rivezi3z::define_ucatrom(ctrl)
                                                          : rivezi3z::define_ubetaspline(ctrl, desc.bias, desc.tension);
  if (!curve) throw InputError(name + ": the " + desc.kind + " definition refused the curve");
  check(curve.tessellate_uniform(1.0 / desc.steps), name, "zv_mk_ucurve3d");
  return curve;
}

}  // namespace zvcurve
