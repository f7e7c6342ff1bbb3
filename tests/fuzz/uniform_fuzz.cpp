// Fuzz target: the four uniform definitions, their tessellation and the
// segment evaluator, on records whose fields the input may also change.
#include "fuzz_input.hpp"

namespace zvfuzz {

void fuzz_one(Input &in) {
  Owned owned;
  ll_list *ctrl = owned.add(in.polygon());
  const int kind = in.pick(4);
  const double beta1 = in.real(), beta2 = in.real();
  zv_curve *curve = refusing(in, [&] { return define_uniform(kind, ctrl, beta1, beta2); });
  if (curve && in.flag()) curve->type = in.count();
  if (curve && in.byte() < 16) {  // a record whose control list the caller took away
    owned.add(curve->ctrl_list);
    curve->ctrl_list = nullptr;
  }
  for (int calls = in.pick(3) + 1; calls > 0; --calls) {
    if (in.flag()) {
      zv_curve *target = in.maybe(curve);
      const double step = in.real();
      refusing(in, [&] { return zv_mk_ucurve3d(target, step); });
    } else {
      // Four segment entries from the record's polygon, a stray vertex or null.
      zv_poly_3d stray{};
      zv_poly_3d *seg[4] = {&stray, &stray, &stray, &stray};
      const ll_node *node = curve && curve->ctrl_list ? curve->ctrl_list->head : nullptr;
      for (auto &s : seg) {
        if (node && in.flag()) s = static_cast<zv_poly_3d *>(node->data), node = node->next;
        else if (in.byte() < 32) s = nullptr;
      }
      zv_pnt_3d p;
      zv_vector_3d t, s2, n;
      zv_eval_t_on_ucurve3d(in.maybe(curve), in.real(), in.maybe(seg), in.maybe(&p), in.maybe(&t), in.maybe(&s2),
                            in.maybe(&n));
    }
  }
  owned.release({curve});
}

}  // namespace zvfuzz
