// One arch of a cycloid: the path of a rim point of a circle rolling once
// along +x.
#include <rivezi3z/rivezi3z.h>

#include <cmath>

#include "conics/conic_support.hpp"
#include "frame/lists.hpp"
#include "frame/report.hpp"

using namespace zv::conics;

namespace {

// The most segments an arch takes: its vertices number at most 32767.
constexpr long kMaxSegments = INT16_MAX - 1;

}  // namespace

extern "C" ZV_API int16_t zv_cycloidpnts_3d(zv_pnt_3d *start, double r, int16_t *n, ll_list *list,
                                            int16_t *count) {
  if (!start || !n || !count) return kMissingArgument;
  zv::Appender out(list);
  *count = 0;
  if (!out.ready()) return zv::memory_refused("zv_cycloidpnts_3d");
  const double ra = std::fabs(r);
  // A capped arch is still whole: its end is placed exactly.
  const long m = *n < kMaxSegments ? *n : kMaxSegments;
  // 2 pi / n taken through degrees; unused when n = 0 (the start point only).
  const double s = ((360.0 / static_cast<double>(m)) * kPi) / 180.0;
  const zv::Point3 s0 = zv::load(*start);
  zv::StagedVertices staged(out.list());
  bool made = true;
  for (long i = 0; made && i <= m; ++i) {
    zv::Point3 p{0.0 + s0.x, 0.0 + s0.y, s0.z};
    if (i == m && i > 0) {
      p.x = kTwoPi * ra + s0.x;  // the arch ends exactly on the base line
    } else if (i > 0) {
      const double theta = static_cast<double>(i) * s;
      p.x = (theta - std::sin(theta)) * ra + s0.x;
      p.y = (1.0 - std::cos(theta)) * r + s0.y;
    }
    made = staged.add(i, p);
  }
  made = made && staged.finish();
  *count = static_cast<int16_t>(staged.appended());
  return made ? zv::code::kDone : zv::memory_refused("zv_cycloidpnts_3d");
}
