// Fuzz target: crossings of two records' polylines, from their vertex or
// control lists, with missing slots, the same record twice and null out.
#include "fuzz_input.hpp"

namespace zvfuzz {

void fuzz_one(Input &in) {
  Owned owned;
  zv_curve *a = zv_create_curve(), *b = zv_create_curve();
  if (!a || !b) return owned.release({a, b});
  for (zv_curve *c : {a, b}) {
    ll_purge_list(c->vertex_list), ll_purge_list(c->ctrl_list);
    c->vertex_list = in.polygon();
    c->ctrl_list = in.polygon();
  }
  ll_list *out = owned.add(in.byte() < 32 ? nullptr : ll_create_list());
  zv_curve *first = in.maybe(a), *second = in.byte() < 16 ? first : in.maybe(b);
  refusing(in, [&] { return zv_intcurve_3d(first, second, out); });
  owned.release({a, b});
}

}  // namespace zvfuzz
