// Who owns a record's lists: every definition, tessellation, conversion and
// split applied to records made by every definition, alone and in one long
// sequence, then everything released as the header tells the caller to
// (records with zv_purge_curve after clearing the slots that hold the
// caller's lists, the caller's lists with ll_purge_list). A list released
// twice fails under AddressSanitizer, a leak fails the fixture.
// Regressions: a uniform split into a record that borrowed the caller's
// lists released them under the caller; a failed rational definition on a
// non-uniform record, followed by a successful one, leaked the record's
// own lists.
#include <algorithm>
#include <functional>

#include "spline_records.hpp"

namespace {

using Points = std::vector<zv_pnt_3d>;

// The caller's side: the lists it made and still owns, released last.
class Caller {
 public:
  ~Caller() {
    for (ll_list *l : lists_) ll_purge_list(l);
  }
  ll_list *polygon(int n) { return keep(zvtest::make_polygon(zvtest::points(n))); }
  ll_list *reals(const std::vector<double> &v) { return keep(zvtest::make_reals(v)); }
  // Releases a record, clearing first the slots that hold the caller's lists.
  void release(zv_curve *curve) const {
    const auto mine = [this](ll_list *l) { return std::find(lists_.begin(), lists_.end(), l) != lists_.end(); };
    if (mine(curve->weight_list)) curve->weight_list = nullptr;
    if (mine(curve->knot_list)) curve->knot_list = nullptr;
    if (mine(curve->ctrl_list)) curve->ctrl_list = nullptr;
    if (mine(curve->vertex_list)) curve->vertex_list = nullptr;
    if (mine(curve->stats_list)) curve->stats_list = nullptr;
    zv_purge_curve(curve);
  }

 private:
  ll_list *keep(ll_list *l) {
    lists_.push_back(l);
    return l;
  }
  std::vector<ll_list *> lists_;
};

using Step = std::function<void(Caller &, zv_curve *)>;

int16_t nurb(Caller &c, zv_curve *r, int16_t degree = 3) {
  return zv_mk_def_nurb_curve3d(c.polygon(5), c.reals({0, 0, 0, 1, 2, 2, 2}), c.reals({1, 2, 1, 2, 1}), degree, 4, r);
}
int16_t rational_bezier(Caller &c, zv_curve *r) {
  return zv_def_ratbezier_curve3d(c.polygon(4), c.reals({0, 0.5, 1}), c.reals({1, 2, 2, 1}), 3, r);
}
zv_curve *nub(Caller &c) { return zv_def_nubspl_curve3d(c.polygon(5), c.reals({0, 0, 0, 1, 2, 2, 2}), 3, 4); }

// Ways to make a record; each leaves it filled.
const std::vector<std::pair<const char *, std::function<zv_curve *(Caller &)>>> kMakers = {
    {"uniform Bezier", [](Caller &c) { return zv_def_ubezier_curve3d(c.polygon(4)); }},
    {"uniform B-spline", [](Caller &c) { return zv_def_ubspl_curve3d(c.polygon(5)); }},
    {"Catmull-Rom", [](Caller &c) { return zv_def_ucatrom_curve3d(c.polygon(5)); }},
    {"beta-spline", [](Caller &c) { return zv_def_ubetaspl_curve3d(c.polygon(5), 1.5, 0.5); }},
    {"non-uniform", nub},
    {"NURB", [](Caller &c) { zv_curve *r = zv_create_curve(); EXPECT_EQ(nurb(c, r), 0); return r; }},
    {"rational Bezier", [](Caller &c) { zv_curve *r = zv_create_curve(); EXPECT_EQ(rational_bezier(c, r), 0); return r; }},
    {"failed NURB on non-uniform", [](Caller &c) { zv_curve *r = nub(c); EXPECT_EQ(nurb(c, r, 0), 3); return r; }},
};

// What can happen to a record r next, as target or as source.
const std::vector<std::pair<const char *, Step>> kSteps = {
    {"NURB definition", [](Caller &c, zv_curve *r) { EXPECT_EQ(nurb(c, r), 0); }},
    {"rational Bezier definition", [](Caller &c, zv_curve *r) { EXPECT_EQ(rational_bezier(c, r), 0); }},
    {"tessellations", [](Caller &, zv_curve *r) {
       zv_mk_ucurve3d(r, 0.25), zv_mk_nubspline_3d(r, 0, 0), zv_mk_nurb_curve3d(r, 0, 0, 2, 0);
       zv_mk_rat_bezier_3d(r, 0);
     }},
    {"conversion from it", [](Caller &c, zv_curve *r) {
       zv_curve *out = zv_create_curve();
       zv_bspl_to_bezier_curve3d(r, out), zv_rat_bspl_to_bezier_curve3d(r, out);
       c.release(out);
     }},
    {"conversion into it", [](Caller &c, zv_curve *r) {
       zv_curve *source = nub(c);
       EXPECT_EQ(zv_bspl_to_bezier_curve3d(source, r), 0);
       c.release(source);
     }},
    {"uniform split into it", [](Caller &c, zv_curve *r) {
       zv_curve *source = zv_def_ubezier_curve3d(c.polygon(4)), *other = zv_create_curve();
       EXPECT_EQ(zv_sub_bezier_curve3d(source, 0.5, r, other), 0);
       c.release(source), c.release(other);
     }},
    {"rational split into it", [](Caller &c, zv_curve *r) {
       zv_curve *source = zv_create_curve(), *other = zv_create_curve();
       EXPECT_EQ(rational_bezier(c, source), 0);
       EXPECT_EQ(zv_sub_ratbezier_curve3d(source, 0.5, other, r), 0);
       c.release(source), c.release(other);
     }},
    {"splits of it into itself", [](Caller &c, zv_curve *r) {
       zv_curve *other = zv_create_curve();
       zv_sub_ratbezier_curve3d(r, 0.5, r, other), zv_sub_bezier_curve3d(r, 0.5, other, r);
       c.release(other);
     }},
};

class RecordOwnership : public zvtest::KernelTest {};

TEST_F(RecordOwnership, EveryStepOnEveryRecordLeaksAndDoubleFreesNothing) {
  for (const auto &[made_by, make] : kMakers) {
    for (const auto &[step, apply] : kSteps) {
      SCOPED_TRACE(std::string(made_by) + " then " + step);
      const long blocks = zv_live_blocks();
      {
        Caller caller;
        zv_curve *r = make(caller);
        ASSERT_NE(r, nullptr);
        apply(caller, r);
        caller.release(r);
      }
      EXPECT_EQ(zv_live_blocks(), blocks);
    }
    SCOPED_TRACE(std::string(made_by) + " then every step in turn");
    Caller caller;
    zv_curve *r = make(caller);
    for (int round = 0; round < 2; ++round)
      for (const auto &step : kSteps) step.second(caller, r);
    caller.release(r);
  }
}

// Clearing the borrowed mark hands the lists to the record (what the C++
// and Python layers do): a split that replaces them then releases them.
TEST_F(RecordOwnership, ListsHandedToTheRecordGoWithTheSplit) {
  ll_list *taken = zvtest::make_polygon(zvtest::points(4));
  zv_curve *r = zv_create_curve(), *source = zv_def_ubezier_curve3d(taken), *other = zv_create_curve();
  ll_purge_list(taken);
  ll_list *ctrl = zvtest::make_polygon(zvtest::points(4)), *knots = zvtest::make_reals({0, 1});
  ll_list *weights = zvtest::make_reals({1, 1, 1, 1});
  ASSERT_EQ(zv_def_ratbezier_curve3d(ctrl, knots, weights, 3, r), 0);
  EXPECT_TRUE(ll_list_borrowed(ctrl) && ll_list_borrowed(knots) && ll_list_borrowed(weights));
  for (ll_list *l : {ctrl, knots, weights}) ll_set_list_borrowed(l, 0);
  EXPECT_EQ(zv_sub_bezier_curve3d(source, 0.5, other, r), 0);
  zv_purge_curve(r), zv_purge_curve(source), zv_purge_curve(other);
}

}  // namespace
