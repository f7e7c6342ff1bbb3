// Bezier and rational Bezier records split at a parameter: the first p + 1
// control points (and weights) are read once, one de Casteljau triangle
// gives both pieces, and each piece goes into its output record as p + 1
// new control points (and weights) that start at the split point.
#include <rivezi3z/rivezi3z.h>

#include <cstring>

#include "frame/casteljau.hpp"
#include "frame/conventions.hpp"
#include "frame/kernel_block.hpp"
#include "frame/lists.hpp"
#include "frame/record_lists.hpp"
#include "frame/report.hpp"
#include "frame/span_walk.hpp"
#include "frame/uniform_basis.hpp"
#include "frame/vertices.hpp"

namespace {

using namespace zv::code::split;

// Working storage of the two pieces, p + 1 nodes each: on the stack up to
// degree 31, a kernel block above (the degree is not otherwise bounded).
template <class Node>
class Pieces {
 public:
  explicit Pieces(int p) {
    Node *base = reinterpret_cast<Node *>(local_);
    if (p + 1 > kLocal) {
      block_ = zv::KernelBlock<Node>(2 * static_cast<std::size_t>(p + 1));
      base = block_.get();
    }
    after = base;
    before = base ? base + p + 1 : nullptr;
  }
  bool ok() const { return after != nullptr; }
  Node *after;   // the polygon over [t, 1], from the split point on
  Node *before;  // the polygon over [0, t], from the first control point on

 private:
  static constexpr int kLocal = 32;
  alignas(Node) unsigned char local_[2 * kLocal * sizeof(Node)];
  zv::KernelBlock<Node> block_;
};

// The tests both splits make on their arguments, in this order: a source
// of the kind (1), two distinct output records (5), a control list (2),
// a knot list (3); then at least p + 1 control points (2).
int16_t check_split(const zv_curve *source, int16_t kind, const zv_curve *before, const zv_curve *after) {
  if (!source || source->type != kind) return kWrongKind;
  if (!before || !after || before == after) return kNoOutput;
  if (!source->ctrl_list) return kTooFewPoints;
  if (!source->knot_list) return kNoKnots;
  return zv::code::kDone;
}

bool enough(const ll_list *list, int p) { return p >= 0 && ll_list_length(list) >= p + 1L; }

// The degree of a uniform Bezier record: a uniform definition leaves it
// unset (0), and such a record is a cubic; a degree the caller set wins.
int bezier_degree(const zv_curve &source) { return source.degree == 0 ? 3 : source.degree; }

// A new empty uniform Bezier record of degree p with the Bezier matrix, as
// the uniform definition writes it (whatever matrix the source carries),
// made without a report of its own: the split reports a refusal once,
// under its own name.
zv_curve *piece_record(int p) {
  zv_curve *piece = zv_create_curve();
  if (!piece) return nullptr;
  piece->type = ZV_CURVE_UBEZIER;
  piece->degree = static_cast<int16_t>(p);
  std::memcpy(piece->basis, zv::kBezierBasis, sizeof piece->basis);
  return piece;
}

// Puts the made records' contents into the caller's two records whole. The
// lists the caller's records owned go with their old contents; lists they
// borrowed stay the caller's and are left alone. The made shells are freed.
void overwrite(zv_curve *before, zv_curve *made_before, zv_curve *after, zv_curve *made_after) {
  zv::OwnedLists replaced;
  replaced.collect(*before);
  replaced.collect(*after);
  *before = *made_before;
  *after = *made_after;
  zv_free(made_before);
  zv_free(made_after);
  replaced.release();
}

// Appends the p + 1 weighted points of a piece after what the lists hold,
// numbered from 0: piece(0) .. piece(p), or piece(p) .. piece(0) when
// reversed. False when the kernel refused memory.
bool append_piece(ll_list *points, ll_list *weights, const zv::Weighted *piece, int p, bool reversed) {
  zv::StagedVertices staged_points(points);
  zv::StagedRecords<zv_rnumber, ZV_ITEM_RNUMBER> staged_weights(weights);
  for (int k = 0; k <= p; ++k) {
    const zv::Weighted &w = piece[reversed ? p - k : k];
    staged_weights.slot() = zv_rnumber{w.w};
    if ((staged_weights.full() && !staged_weights.flush()) || !staged_points.add(k, w.p)) return false;
  }
  return staged_weights.flush() && staged_points.finish();
}

}  // namespace

extern "C" ZV_API int16_t zv_sub_bezier_curve3d(zv_curve *source, double t, zv_curve *before, zv_curve *after) {
  if (const int16_t refused = check_split(source, ZV_CURVE_UBEZIER, before, after)) return refused;
  const int p = bezier_degree(*source);
  if (!enough(source->ctrl_list, p)) return kTooFewPoints;

  constexpr const char *kName = "zv_sub_bezier_curve3d";
  Pieces<zv::Point3> pieces(p);
  if (!pieces.ok()) return zv::memory_refused(kName);
  zv::PointCursor points(source->ctrl_list->head, {});
  for (int k = 0; k <= p; ++k) pieces.after[k] = points.next();
  zv::casteljau_split(pieces.after, p, t, pieces.before);

  // Both pieces are built whole in new records before either output
  // record changes, so a refusal leaves the caller's records as they were.
  zv_curve *made_after = piece_record(p);
  zv_curve *made_before = made_after ? piece_record(p) : nullptr;
  bool made = made_before != nullptr;
  if (made) {
    zv::StagedVertices after_points(made_after->ctrl_list), before_points(made_before->ctrl_list);
    for (int k = 0; made && k <= p; ++k)
      made = after_points.add(k, pieces.after[k]) && before_points.add(k, pieces.before[p - k]);
    made = made && after_points.finish() && before_points.finish();
  }
  if (!made) {
    zv_purge_curve(made_after);
    zv_purge_curve(made_before);
    return zv::memory_refused(kName);
  }
  overwrite(before, made_before, after, made_after);
  return zv::code::kDone;
}

extern "C" ZV_API int16_t zv_sub_ratbezier_curve3d(zv_curve *source, double t, zv_curve *before,
                                                   zv_curve *after) {
  if (const int16_t refused = check_split(source, ZV_CURVE_RATBEZIER, before, after)) return refused;
  if (!source->weight_list) return kTooFewWeights;
  const int p = source->degree;
  if (!enough(source->ctrl_list, p)) return kTooFewPoints;
  if (!enough(source->weight_list, p)) return kTooFewWeights;

  constexpr const char *kName = "zv_sub_ratbezier_curve3d";
  Pieces<zv::Weighted> pieces(p);
  if (!pieces.ok()) return zv::memory_refused(kName);
  zv::PointCursor points(source->ctrl_list->head, {});
  zv::RealCursor weights(source->weight_list->head, 1.0);
  for (int k = 0; k <= p; ++k) pieces.after[k] = {points.next(), weights.next()};
  zv::casteljau_split(pieces.after, p, t, pieces.before);

  after->ctrl_list = zv::ensure_list(after->ctrl_list);
  after->weight_list = zv::ensure_list(after->weight_list);
  before->ctrl_list = zv::ensure_list(before->ctrl_list);
  before->weight_list = zv::ensure_list(before->weight_list);
  if (!after->ctrl_list || !after->weight_list || !before->ctrl_list || !before->weight_list)
    return zv::memory_refused(kName);
  after->degree = static_cast<int16_t>(p);
  before->degree = static_cast<int16_t>(p);

  // The piece after t follows what its lists held; the piece before t goes
  // in front of what its lists held, the split point first. Into empty
  // lists (the usual case) that is the before piece appended from its
  // first control point on, in runs like the after piece.
  const bool runs = !before->ctrl_list->head && !before->weight_list->head;
  if (!append_piece(after->ctrl_list, after->weight_list, pieces.after, p, false) ||
      (runs && !append_piece(before->ctrl_list, before->weight_list, pieces.before, p, true)))
    return zv::memory_refused(kName);
  for (int k = 0; !runs && k <= p; ++k) {
    const zv::Weighted &b = pieces.before[k];
    if (!zv::add_real(before->weight_list, 0, b.w) || !zv::add_vertex(before->ctrl_list, 0, p - k, b.p))
      return zv::memory_refused(kName);
  }
  return zv::code::kDone;
}
