// Fuzz target: conversion of B-spline and NURB records into Bezier points
// and the splits of uniform and rational Bezier records, on records whose
// fields and lists the input chooses.
#include "fuzz_input.hpp"

namespace zvfuzz {

void fuzz_one(Input &in) {
  Owned owned;
  zv_curve *source = zv_create_curve();
  zv_curve *out = zv_create_curve(), *second = zv_create_curve();
  if (!source || !out || !second) return owned.release({source, out, second});
  // The source's lists are the input's: the record owns them from here.
  ll_purge_list(source->ctrl_list), ll_purge_list(source->knot_list);
  source->ctrl_list = in.polygon();
  source->knot_list = in.reals();
  source->weight_list = in.reals();
  static constexpr int16_t kinds[] = {ZV_CURVE_NURB, ZV_CURVE_NUBSPLINE, ZV_CURVE_UBEZIER, ZV_CURVE_RATBEZIER};
  source->type = in.byte() < 32 ? in.count() : kinds[in.pick(4)];
  source->degree = in.byte() < 64 ? in.count() : static_cast<int16_t>(in.pick(5));
  if (in.byte() < 32) {  // an output slot the caller cleared
    ll_purge_list(out->ctrl_list);
    out->ctrl_list = nullptr;
  }
  zv_curve *a = in.maybe(source), *b = in.maybe(out), *c = in.byte() < 16 ? out : in.maybe(second);
  const double t = in.real();
  switch (in.pick(4)) {
    case 0: refusing(in, [&] { return zv_bspl_to_bezier_curve3d(a, b); }); break;
    case 1: refusing(in, [&] { return zv_rat_bspl_to_bezier_curve3d(a, b); }); break;
    case 2: refusing(in, [&] { return zv_sub_bezier_curve3d(a, t, b, c); }); break;
    default: refusing(in, [&] { return zv_sub_ratbezier_curve3d(a, t, b, c); });
  }
  owned.release({source, out, second});
}

}  // namespace zvfuzz
