// Who owns the lists in a curve record's five slots, and the release of the
// lists a record gives up when a definition or a split replaces them. A list
// belongs to the record that holds it unless its header carries the kernel's
// borrowed mark: the rational definitions attach the caller's lists by
// pointer and mark them, so they stay the caller's.
#pragma once

#include <rivezi3z/rivivi.h>

#include <initializer_list>

namespace zv {

// The five slots of a record, in the order zv_purge_curve releases them.
inline constexpr int kListSlots = 5;

inline void slot_lists(const zv_curve &curve, ll_list *(&out)[kListSlots]) {
  out[0] = curve.weight_list;
  out[1] = curve.knot_list;
  out[2] = curve.ctrl_list;
  out[3] = curve.vertex_list;
  out[4] = curve.stats_list;
}

// Collects the distinct lists a set of records owns, leaving out those in
// keep (lists that stay in use), and releases them all at once with
// release(); a list held by two slots, or by two of the records, is
// released once.
class OwnedLists {
 public:
  void collect(const zv_curve &curve, std::initializer_list<const ll_list *> keep = {}) {
    ll_list *slots[kListSlots];
    slot_lists(curve, slots);
    for (ll_list *list : slots) {
      if (!list || ll_list_borrowed(list) || held(list)) continue;
      bool kept = false;
      for (const ll_list *k : keep) kept = kept || k == list;
      if (!kept && count_ < kCapacity) found_[count_++] = list;
    }
  }

  void release() {
    for (int i = 0; i < count_; ++i) ll_purge_list(found_[i]);
    count_ = 0;
  }

 private:
  bool held(const ll_list *list) const {
    for (int i = 0; i < count_; ++i)
      if (found_[i] == list) return true;
    return false;
  }

  // Room for the slots of the two output records of a split.
  static constexpr int kCapacity = 2 * kListSlots;
  ll_list *found_[kCapacity];
  int count_ = 0;
};

}  // namespace zv
