// The decoder every fuzz target shares: it turns the fuzzer's bytes into
// arguments that favour the values the library must survive (NaN, the
// infinities, signed zeros, neighbours of the 1e-7 tolerance, huge values,
// the int16 extremes, null pointers, lists shorter than stated, knots that
// fall or repeat, zero and negative weights), and it checks after each
// input that every kernel block went back.
//
// Each target defines fuzz_one(Input &) and includes this header once; it
// supplies LLVMFuzzerTestOneInput. Calls run under a refusal budget the
// input chooses (at most kBudget allocations), which drives the refused-
// memory paths and keeps huge requested outputs finite.
#pragma once

#include <rivezi3z/rivezi3z.h>

#include <cmath>
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace zvfuzz {

// Allocations a single call may make before the kernel refuses.
constexpr long kBudget = 60000;

// One of the four uniform definitions, chosen by kind (0 .. 3).
inline zv_curve *define_uniform(int kind, ll_list *ctrl, double beta1, double beta2) {
  switch (kind) {
    case 0: return zv_def_ubezier_curve3d(ctrl);
    case 1: return zv_def_ubspl_curve3d(ctrl);
    case 2: return zv_def_ucatrom_curve3d(ctrl);
    default: return zv_def_ubetaspl_curve3d(ctrl, beta1, beta2);
  }
}

class Input {
 public:
  Input(const uint8_t *data, size_t size) : data_(data), size_(size) {}

  bool empty() const { return pos_ >= size_; }

  uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  bool flag() { return byte() & 1; }
  // A value in 0 .. n - 1.
  int pick(int n) { return n > 0 ? byte() % n : 0; }

  // A count: an edge value, a small one or any int16.
  int16_t count() {
    static constexpr int16_t edges[] = {-32768, -1, 0, 1, 2, 3, 4, 29, 30, 31, 32767};
    const uint8_t b = byte();
    if (b < 64) return edges[b % 11];
    if (b < 200) return static_cast<int16_t>(b % 40);
    return static_cast<int16_t>(byte() | (byte() << 8));
  }

  // A double: an edge value, a small ordinary one or any bit pattern.
  double real() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    static const double edges[] = {std::numeric_limits<double>::quiet_NaN(), inf, -inf, 0.0, -0.0,
                                   1e-7, std::nextafter(1e-7, 0.0), std::nextafter(1e-7, 1.0), -1e-7,
                                   1.0000001, 0.9999999, -0.9999999, 1e300, -1e300, 1e-300,
                                   std::numeric_limits<double>::denorm_min(), 0.5, 1.0, -1.0, 2.0,
                                   6.283185307179586, 1.5707963267948966};
    constexpr int n_edges = sizeof edges / sizeof edges[0];
    const uint8_t b = byte();
    if (b < 80) return edges[b % n_edges];
    if (b < 220) return (static_cast<int>(byte()) - 128) / 16.0;
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(byte()) << (8 * i);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }

  zv_pnt_3d point() { return {real(), real(), real()}; }

  // A pointer to *p, or null.
  template <class T>
  T *maybe(T *p) {
    return byte() < 24 ? nullptr : p;
  }

  // A new vertex list of 0 .. 39 vertices, or null.
  ll_list *polygon() {
    if (byte() < 16) return nullptr;
    ll_list *list = ll_create_list();
    const int n = pick(40);
    for (int i = 0; i < n && list; ++i) {
      zv_poly_3d *v = zv_create_poly_3d();
      if (!v) break;
      v->index = static_cast<int16_t>(byte());
      const zv_pnt_3d p = point();
      v->x = p.x, v->y = p.y, v->z = p.z;
      ll_add_list_item(list, 1, v, ZV_ITEM_POLY);
    }
    return list;
  }

  // n numbers: rising (with repeats), falling, or any.
  std::vector<double> numbers(int n) {
    std::vector<double> out(n > 0 ? n : 0);
    const int shape = pick(3);
    double at = 0.0;
    for (double &v : out) {
      if (shape == 2) {
        v = real();
      } else {
        at += byte() < 96 ? 0.0 : (byte() + 1) / 64.0;  // repeats are common
        v = shape == 0 ? at : -at;
      }
    }
    return out;
  }

  // A new list of 0 .. 39 real numbers (knots or weights), or null.
  ll_list *reals() {
    if (byte() < 16) return nullptr;
    ll_list *list = ll_create_list();
    for (double v : numbers(pick(40))) {
      zv_rnumber *r = zv_create_rnumber();
      if (!r) break;
      r->value = v;
      ll_add_list_item(list, 1, r, ZV_ITEM_RNUMBER);
    }
    return list;
  }

  // The refusal budget for the next call: mostly kBudget, sometimes small.
  long budget() { return byte() < 40 ? pick(64) : kBudget; }

 private:
  const uint8_t *data_;
  size_t size_;
  size_t pos_ = 0;
};

// Runs call under the input's refusal budget.
template <class F>
auto refusing(Input &in, F call) {
  zv_fail_alloc_after(in.budget());
  auto result = call();
  zv_fail_alloc_after(-1);
  return result;
}

// Lists the harness made: released at the end unless a record holds them.
class Owned {
 public:
  ll_list *add(ll_list *list) {
    if (list) lists_.push_back(list);
    return list;
  }
  // Releases every list no record slot holds, then the records.
  void release(std::vector<zv_curve *> curves) {
    for (ll_list *list : lists_) {
      bool held = false;
      for (zv_curve *c : curves)
        if (c && (c->ctrl_list == list || c->knot_list == list || c->weight_list == list || c->vertex_list == list ||
                  c->stats_list == list))
          held = true;
      if (!held) ll_purge_list(list);
    }
    for (zv_curve *c : curves) zv_purge_curve(c);
    lists_.clear();
  }

 private:
  std::vector<ll_list *> lists_;
};

void fuzz_one(Input &in);

}  // namespace zvfuzz

namespace {

void quiet_message(const char *, int16_t, const char *, void *) {}
void quiet_memerr(const char *, void *) {}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const bool quiet = [] {
    zv_set_msg_handler(quiet_message, nullptr);
    zv_set_memerr_handler(quiet_memerr, nullptr);
    return true;
  }();
  (void)quiet;
  const long start = zv_live_blocks();
  zvfuzz::Input in(data, size);
  zvfuzz::fuzz_one(in);
  zv_fail_alloc_after(-1);
  if (zv_live_blocks() != start) {
    std::fprintf(stderr, "kernel blocks leaked: %ld\n", zv_live_blocks() - start);
    std::abort();
  }
  return 0;
}
