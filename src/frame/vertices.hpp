// The one way every family appends output records: a new vertex or real
// number made by the kernel, filled and added at either end one at a time,
// or, for long outputs, vertices and statistics records staged and appended
// a run at a time.
#pragma once

#include <rivezi3z/rivivi.h>

#include <cstring>

#include "frame/records.hpp"

namespace zv {

// Adds a new vertex numbered index at p, after the last node (where 1) or
// before the first (where 0); false when the kernel refused the record or
// its node (the kernel has then released the record).
inline bool add_vertex(ll_list *list, int16_t where, long index, const Point3 &p) {
  zv_poly_3d *v = zv_create_poly_3d();
  if (!v) return false;
  v->index = vertex_number(index);
  store(p, v);
  return ll_add_list_item(list, where, v, ZV_ITEM_POLY) != 0;
}

// Appends a new vertex numbered index at p; false when refused.
inline bool append_vertex(ll_list *list, long index, const Point3 &p) { return add_vertex(list, 1, index, p); }

// Adds a new real number (a knot or weight), after the last node (where 1)
// or before the first (where 0); false when refused.
inline bool add_real(ll_list *list, int16_t where, double value) {
  zv_rnumber *r = zv_create_rnumber();
  if (!r) return false;
  r->value = value;
  return ll_add_list_item(list, where, r, ZV_ITEM_RNUMBER) != 0;
}

// A vertex record numbered index at p.
inline zv_poly_3d vertex_record(long index, const Point3 &p) { return {vertex_number(index), p.x, p.y, p.z}; }

// Records staged for one output list and handed to the kernel a run at a
// time (ll_append_copies): one kernel call per run instead of two per
// record, with the same records, nodes and order as appending them one by
// one. The caller fills slot() and calls flush() when full() and at the end.
template <class Record, int16_t Type>
class StagedRecords {
 public:
  static constexpr int kRun = 64;

  explicit StagedRecords(ll_list *list) : list_(list) {}
  StagedRecords(const StagedRecords &) = delete;
  StagedRecords &operator=(const StagedRecords &) = delete;

  Record &slot() { return run_[staged_++]; }
  bool full() const { return staged_ == kRun; }

  // Appends the staged records; false when the kernel refused memory (the
  // records made before the refusal stay appended, the rest are dropped).
  bool flush() {
    const long want = staged_;
    staged_ = 0;
    if (want == 0) return true;
    const long made = ll_append_copies(list_, run_, sizeof(Record), want, Type);
    appended_ += made;
    return made == want;
  }

  // The records appended so far.
  long appended() const { return appended_; }

 private:
  ll_list *list_;
  int staged_ = 0;
  long appended_ = 0;
  Record run_[kRun];
};

// Samples of a curve record: a vertex and a statistics record each, staged
// for the record's vertex and statistics lists. add() and finish() give
// false when the kernel refused memory; the vertex list may then hold some
// samples of the last run that the statistics list does not.
class StagedSamples {
 public:
  StagedSamples(ll_list *vertices, ll_list *stats) : vertices_(vertices), stats_(stats) {}

  // Stages a vertex numbered index at p with the statistics s.
  bool add(long index, const Point3 &p, const zv_curve_stats_3d &s) {
    stats_.slot() = s;
    return add_vertex(index, p);
  }

  // Stages a vertex numbered index at p with statistics holding t alone
  // (cleared in place: a zeroed temporary would be cleared and copied).
  bool add(long index, const Point3 &p, double t) {
    zv_curve_stats_3d &s = stats_.slot();
    std::memset(&s, 0, sizeof s);
    s.t = t;
    return add_vertex(index, p);
  }

  // Appends what is staged.
  bool finish() { return vertices_.flush() && stats_.flush(); }

 private:
  // Stages the vertex of a sample whose statistics are staged, appending
  // both runs when they are full.
  bool add_vertex(long index, const Point3 &p) {
    vertices_.slot() = vertex_record(index, p);
    return !vertices_.full() || finish();
  }

  StagedRecords<zv_poly_3d, ZV_ITEM_POLY> vertices_;
  StagedRecords<zv_curve_stats_3d, ZV_ITEM_PLAIN> stats_;
};

// Vertices staged for one list, numbered by the caller.
class StagedVertices {
 public:
  explicit StagedVertices(ll_list *list) : vertices_(list) {}
  bool add(long index, const Point3 &p) {
    vertices_.slot() = vertex_record(index, p);
    return !vertices_.full() || vertices_.flush();
  }
  bool finish() { return vertices_.flush(); }
  // The vertices appended so far (staged ones not counted).
  long appended() const { return vertices_.appended(); }

 private:
  StagedRecords<zv_poly_3d, ZV_ITEM_POLY> vertices_;
};

}  // namespace zv
