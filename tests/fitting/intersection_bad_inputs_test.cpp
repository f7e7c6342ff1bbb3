// Bad inputs of the curve intersection: missing records and lists, lists
// too short for a segment and coordinates that are not finite, one row each.
#include "bad_inputs.hpp"

namespace {

using zvtest::BadInput;
using zvtest::kInf;
using zvtest::kNaN;

using Points = std::vector<zv_pnt_3d>;
const Points kRising = {{0, 0, 0}, {2, 2, 0}}, kFalling = {{0, 2, 0}, {2, 0, 0}};

// A record with the given vertex list; without_ctrl clears its control
// list slot, without_vertices its vertex list slot.
zv_curve *record(const Points &points, bool without_ctrl = false, bool without_vertices = false) {
  zv_curve *c = zv_create_curve();
  ll_purge_list(c->vertex_list);
  c->vertex_list = without_vertices ? nullptr : zvtest::make_polygon(points);
  if (without_ctrl) ll_purge_list(c->ctrl_list), c->ctrl_list = nullptr;
  return c;
}

// The crossings of two records into a fresh list (or none): the result, or
// 1000 + the list's length when they disagree.
long cross(zv_curve *a, zv_curve *b, bool with_out = true) {
  ll_list *out = with_out ? ll_create_list() : nullptr;
  const long r = zv_intcurve_3d(a, b, out), n = ll_list_length(out);
  ll_purge_list(out);
  zv_purge_curve(a);
  if (b != a) zv_purge_curve(b);
  return with_out && n != r ? 1000 + n : r;
}

class IntersectionFamily : public zvtest::KernelTest {};

TEST_F(IntersectionFamily, BadInputTable) {
  const std::vector<BadInput> rows = {
      {"zv_intcurve_3d", "null first record", [] { return cross(nullptr, record(kFalling)); }, 0},
      {"zv_intcurve_3d", "null second record", [] { return cross(record(kRising), nullptr); }, 0},
      {"zv_intcurve_3d", "no list kind shared", [] { return cross(record(kRising, true), record(kFalling, false, true)); }, 0},
      {"zv_intcurve_3d", "single vertex", [] { return cross(record({{1, 1, 0}}), record(kFalling)); }, 0},
      {"zv_intcurve_3d", "empty vertex list", [] { return cross(record({}), record(kFalling)); }, 0},
      {"zv_intcurve_3d", "NaN coordinate meets nothing", [] { return cross(record({{0, 0, 0}, {2, kNaN, 0}}), record(kFalling)); }, 0},
      {"zv_intcurve_3d", "infinite coordinate meets nothing", [] { return cross(record({{-kInf, 0, 0}, {2, 2, 0}}), record(kFalling)); }, 0},
      {"zv_intcurve_3d", "null out only counts", [] { return cross(record(kRising), record(kFalling), false); }, 1},
  };
  zvtest::check_bad_inputs(reports, rows);
}

}  // namespace
