// Crossing points of two curve records' polylines: every segment of one
// against every segment of the other through the segment service, in the
// order of that all-pairs walk, with pairs whose grown bounding boxes are
// apart skipped through a bounding-box hierarchy over each polyline.
#include <rivezi3z/rivezi3z.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>

#include "frame/kernel_block.hpp"
#include "frame/lists.hpp"
#include "frame/records.hpp"

namespace {

constexpr const char *kName = "zv_intcurve_3d";

// Up to this many segment pairs the all-pairs walk is cheaper than building
// the hierarchies (and needs no working memory).
constexpr long kFewPairs = 256;

// Segments per leaf of a bounding-box hierarchy.
constexpr long kLeafSegments = 8;

// Largest magnitude of a point's coordinates.
double reach_of(const zv_pnt_3d &p) { return std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)}); }

// The distance under which the segment service counts two segments as
// meeting, for coordinates up to reach: ZV_DA3V_TOLERANCE, widened far from
// the origin (above about 2.8e7) to 16 ulps of the largest coordinate, where
// the doubles are coarser than the fixed tolerance. Both the pruning boxes
// and the duplicate test follow it, so a crossing the service reports twice
// far out is one point as it is near the origin.
double meeting_tolerance(double reach) { return std::max(ZV_DA3V_TOLERANCE, 16.0 * DBL_EPSILON * reach); }

// Whether two crossing points agree within the meeting tolerance at their
// larger coordinate in x, then y, then z (1e-7 near the origin).
bool same_pnt_3d(const zv_pnt_3d &a, const zv_pnt_3d &b) {
  const double tolerance = meeting_tolerance(std::max(reach_of(a), reach_of(b)));
  return std::fabs(a.x - b.x) <= tolerance && std::fabs(a.y - b.y) <= tolerance && std::fabs(a.z - b.z) <= tolerance;
}

// The position of a list item as the point record the segment service reads.
zv_pnt_3d point_of(const ll_node *node) {
  zv_pnt_3d p;
  zv::store(zv::load(*static_cast<const zv_poly_3d *>(node->data)), &p);
  return p;
}

// Keeps the crossing points in the order they are met: a point equal to the
// one kept just before it is dropped; the others become vertices appended to
// the caller's list, or are only counted when there is no list.
class Crossings {
 public:
  explicit Crossings(ll_list *out) : out_(out) {}

  // Takes one meeting point; false once the kernel refused a vertex (reported).
  bool add(const zv_pnt_3d &x) {
    if (kept_ && same_pnt_3d(x, last_)) return true;
    if (out_) {
      zv_poly_3d *v = zv_create_poly_3d();
      // The index stays as the constructor made it; only the position is set.
      if (v) zv::store(zv::load(x), v);
      if (!v || !ll_add_list_item(out_, 1, v, ZV_ITEM_POLY)) {
        zv_memerr(kName);
        return false;
      }
    }
    last_ = x;
    kept_ = true;
    ++count_;
    return true;
  }

  long count() const { return count_; }

 private:
  ll_list *out_;
  zv_pnt_3d last_{};
  bool kept_ = false;
  long count_ = 0;
};

// The described walk: segment i of A outer, segment j of B inner, every pair
// handed to the service. Follows the nodes, so A and B may be the same list.
void all_pairs(const ll_list *a, const ll_list *b, Crossings &found) {
  zv_pnt_3d seg_a[2], seg_b[2], x;
  for (const ll_node *na = a->head; na && na->next; na = na->next) {
    seg_a[0] = point_of(na);
    seg_a[1] = point_of(na->next);
    for (const ll_node *nb = b->head; nb && nb->next; nb = nb->next) {
      seg_b[0] = point_of(nb);
      seg_b[1] = point_of(nb->next);
      if (zv_intlinespace_ls(seg_a, seg_b, &x) && !found.add(x)) return;
    }
  }
}

// ----------------------------------------------------------- bounding boxes

// An axis-aligned box; an empty one (lo above hi) overlaps nothing.
struct Box {
  double lo[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
  double hi[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
};

bool overlap(const Box &a, const Box &b) {
  return a.lo[0] <= b.hi[0] && b.lo[0] <= a.hi[0] && a.lo[1] <= b.hi[1] && b.lo[1] <= a.hi[1] &&
         a.lo[2] <= b.hi[2] && b.lo[2] <= a.hi[2];
}

Box merged(const Box &a, const Box &b) {
  Box m;
  for (int k = 0; k < 3; ++k) {
    m.lo[k] = std::min(a.lo[k], b.lo[k]);
    m.hi[k] = std::max(a.hi[k], b.hi[k]);
  }
  return m;
}

// The box of segment p-q grown so that two boxes that do not overlap hold
// segments the service cannot find meeting: the service's tolerance for a
// pair is the meeting tolerance at the pair's largest coordinate, and each
// box alone is grown by twice the larger of that tolerance and 64 ulps of
// its own largest coordinate, which also covers
// the service's rounding of the gap and the rounding of the box itself. A
// segment with a coordinate that is not finite never meets: its box is empty.
Box segment_box(const zv_pnt_3d &p, const zv_pnt_3d &q) {
  const double c[2][3] = {{p.x, p.y, p.z}, {q.x, q.y, q.z}};
  double reach = 0.0;
  for (const auto &point : c)
    for (double v : point) {
      if (!std::isfinite(v)) return Box{};
      reach = std::max(reach, std::fabs(v));
    }
  const double grow = 2.0 * std::max(meeting_tolerance(reach), 64.0 * DBL_EPSILON * reach);
  Box b;
  for (int k = 0; k < 3; ++k) {
    b.lo[k] = std::min(c[0][k], c[1][k]) - grow;
    b.hi[k] = std::max(c[0][k], c[1][k]) + grow;
  }
  return b;
}

// One node of a hierarchy over a run of consecutive segments; a polyline's
// neighbouring segments lie close together, so halving the run keeps boxes tight.
struct Node {
  Box box;
  long first = 0;  // first segment of the run
  long count = 0;  // segments in the run
  long left = 0;   // children (both 0 for a leaf)
  long right = 0;
};

// A polyline's vertices, the boxes of its segments and a hierarchy over them.
class Polyline {
 public:
  // Copies the vertices of list and builds the boxes; false when refused.
  bool build(const ll_list *list, long length) {
    const std::size_t n = static_cast<std::size_t>(length);
    if (!points_.reserve(n) || !boxes_.reserve(n - 1) || !nodes_.reserve(2 * (n - 1))) return false;
    for (const ll_node *node = list->head; node && points_.size() < n; node = node->next)
      points_.push(point_of(node));
    segments_ = static_cast<long>(points_.size()) - 1;
    for (long s = 0; s < segments_; ++s) boxes_.push(segment_box(points_[s], points_[s + 1]));
    if (segments_ > 0) split(0, segments_);
    return true;
  }

  long segments() const { return segments_; }
  long nodes() const { return static_cast<long>(nodes_.size()); }
  const Node &node(long k) const { return nodes_[static_cast<std::size_t>(k)]; }
  const Box &box(long s) const { return boxes_[static_cast<std::size_t>(s)]; }
  // Segment s as the two consecutive point records the service reads.
  const zv_pnt_3d *segment(long s) const { return &points_[static_cast<std::size_t>(s)]; }

 private:
  // Adds the node of segments [first, first + count) and its subtree; its index.
  long split(long first, long count) {
    const long k = static_cast<long>(nodes_.size());
    nodes_.push(Node{});  // reserved: at most 2 * segments - 1 nodes
    Node n;
    n.first = first;
    n.count = count;
    if (count <= kLeafSegments) {
      for (long s = first; s < first + count; ++s) n.box = merged(n.box, box(s));
    } else {
      n.left = split(first, count / 2);
      n.right = split(first + count / 2, count - count / 2);
      n.box = merged(node(n.left).box, node(n.right).box);
    }
    nodes_[static_cast<std::size_t>(k)] = n;
    return k;
  }

  zv::KernelVector<zv_pnt_3d> points_;
  zv::KernelVector<Box> boxes_;
  zv::KernelVector<Node> nodes_;
  long segments_ = 0;
};

// Walks the pairs of A's segments with B's in the all-pairs order (i, then
// j), skipping the pairs whose boxes are apart. A's leaves are taken in the
// order of their runs; for each, a walk down B's hierarchy, left child
// first, lists the B leaves whose boxes meet its box, in the order of their
// runs. Each segment of the leaf then meets the segments of those B leaves
// in turn, so the meeting points come in the walk's order and go straight to
// found: the working memory stays linear in the lengths, however many pairs
// meet. False, with nothing kept, when working memory is refused.
bool pruned(const ll_list *la, long na, const ll_list *lb, long nb, Crossings &found) {
  Polyline a, b;
  zv::KernelVector<long> near;  // B leaves met by the current A leaf
  if (!a.build(la, na) || !b.build(lb, nb)) return false;
  if (a.segments() < 1 || b.segments() < 1) return true;
  if (!near.reserve(static_cast<std::size_t>(b.nodes()))) return false;

  for (long k = 0; k < a.nodes(); ++k) {
    const Node &leaf = a.node(k);
    if (leaf.left != 0) continue;  // leaves come in the order of their runs
    near.clear();
    // A walk down one hierarchy holds at most its depth (below 64) plus one.
    long stack[72];
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
      const long n = stack[--top];
      const Node &node = b.node(n);
      if (!overlap(leaf.box, node.box)) continue;
      if (node.left == 0) {
        near.push(n);  // reserved: there are fewer leaves than nodes
      } else {
        stack[top++] = node.right;
        stack[top++] = node.left;
      }
    }
    for (long i = leaf.first; i < leaf.first + leaf.count; ++i)
      for (long n : near) {
        const Node &other = b.node(n);
        for (long j = other.first; j < other.first + other.count; ++j) {
          zv_pnt_3d x;
          if (overlap(a.box(i), b.box(j)) && zv_intlinespace_ls(a.segment(i), b.segment(j), &x) && !found.add(x))
            return true;
        }
      }
  }
  return true;
}

}  // namespace

extern "C" ZV_API int16_t zv_intcurve_3d(zv_curve *curve_a, zv_curve *curve_b, ll_list *out) {
  if (!curve_a || !curve_b) return 0;
  ll_list *la = nullptr, *lb = nullptr;
  if (curve_a->vertex_list && curve_b->vertex_list) {
    la = curve_a->vertex_list;
    lb = curve_b->vertex_list;
  } else if (curve_a->ctrl_list && curve_b->ctrl_list) {
    la = curve_a->ctrl_list;
    lb = curve_b->ctrl_list;
  } else {
    return 0;
  }

  const long na = ll_list_length(la), nb = ll_list_length(lb);
  Crossings found(out);
  if (na >= 2 && nb >= 2) {
    // Refused working memory only costs time: every pair is then tested.
    if ((na - 1) * (nb - 1) <= kFewPairs || !pruned(la, na, lb, nb, found)) all_pairs(la, lb, found);
  }

  // The cursors end where the walk leaves them: A's on its last vertex, B's
  // on its last once A had a segment to walk B for.
  if (la->head) ll_set_list_currpntr(la, LL_LAST);
  if (lb->head) ll_set_list_currpntr(lb, na >= 2 ? LL_LAST : LL_FIRST);
  return zv::vertex_number(found.count());
}
