// Facts the whole curve library shares, each named once: the zero
// tolerance, the degree bounds, and the result codes of the C entry points.
// The record type codes are the ZV_CURVE_* macros of rivezi3z.h. Every
// number here is part of the documented interface: callers compare results
// with them and stored records carry them.
#pragma once

#include <cstdint>

namespace zv {

// Lengths, axes, knot intervals, steps and parameter offsets at or below
// this are zero.
inline constexpr double kZeroTolerance = 1e-7;
// The end of the unit parameter range with that tolerance (1.0000001).
inline constexpr double kUnitEnd = 1.0 + kZeroTolerance;

// Highest degree of the spline records (non-uniform B-spline, NURB and
// rational Bezier): their definitions refuse more, their tessellation sizes
// its windows by it.
inline constexpr int kMaxRecordDegree = 15;

// Highest degree of the array evaluations and of the fit through points,
// whose basis tables live on the stack.
inline constexpr int kMaxArrayDegree = 7;

// Result codes of the C entry points, one namespace per family; each entry
// point documents which of its family's codes it gives.
namespace code {

inline constexpr int16_t kDone = 0;
// The kernel refused memory (reported under the function's name).
inline constexpr int16_t kMemoryRefused = -1;

// Conics, arcs and cycloids: the number a message is reported with is the
// result too.
namespace conic {
inline constexpr int16_t kNoAxis = 1;           // a mode that names no axis
inline constexpr int16_t kMissingArgument = 2;  // a required pointer is null
inline constexpr int16_t kFlatParabola = 73;    // |a| at or below the tolerance
inline constexpr int16_t kZeroLength = 74;      // "LENGTHZERO"
inline constexpr int16_t kBadRectangle = 75;    // "BADRECT": a degenerate or unordered rectangle or axis
inline constexpr int16_t kBadParameter = 80;    // "BADTVALUE"
// The frames of an ellipse or hyperbola.
inline constexpr int16_t kDegenerateAxes = 81;
inline constexpr int16_t kOffPlane = 82;
// The frame of a parabola.
inline constexpr int16_t kFlatParabolaFrame = 82;
inline constexpr int16_t kParabolaOffPlane = 83;
}  // namespace conic

// Polylines straight from control points.
namespace polyline {
inline constexpr int16_t kNoPolygon = 1;  // a null polygon, or fewer points held than stated
inline constexpr int16_t kBadCount = 33;  // "BADCNT"; the quadratic B-spline gives it without a message
}  // namespace polyline

// The definitions of the non-uniform records.
namespace definition {
inline constexpr int16_t kTooFewPoints = 1;
inline constexpr int16_t kWeightCount = 2;
inline constexpr int16_t kBadDegree = 3;
inline constexpr int16_t kNoRecord = 4;
}  // namespace definition

// The uniform tessellation and its evaluation at t.
namespace uniform {
inline constexpr int16_t kNoRecord = 1;
inline constexpr int16_t kShortPolygon = 2;
inline constexpr int16_t kBadParameter = 2;
inline constexpr int16_t kNoSegment = 3;
}  // namespace uniform

// The tessellation of non-uniform B-spline and NURB records by spans.
namespace span {
inline constexpr int16_t kNoCurve = 1;
inline constexpr int16_t kBadDegree = 2;
inline constexpr int16_t kTooFewPoints = 2;
inline constexpr int16_t kWrongKind = 3;
inline constexpr int16_t kTooFewKnots = 4;
inline constexpr int16_t kRefusedParameter = 5;
}  // namespace span

// The rational Bezier tessellation.
namespace rational_bezier {
inline constexpr int16_t kNoPoints = 1;
inline constexpr int16_t kNoKnots = 2;
inline constexpr int16_t kNoWeights = 3;
inline constexpr int16_t kBadDegree = 4;
inline constexpr int16_t kEmptyKnots = 5;
}  // namespace rational_bezier

// The de Boor evaluation at one parameter.
namespace deboor {
inline constexpr int16_t kBadParameter = 2;
inline constexpr int16_t kBadWindow = 3;
}  // namespace deboor

// The evaluations of array curves, and their continuity status at t.
namespace array {
inline constexpr int16_t kUnusable = 1;
inline constexpr int16_t kContinuous = 0;
inline constexpr int16_t kFirstOneSided = 1;
inline constexpr int16_t kSecondOneSided = 2;
}  // namespace array

// The fit through points.
namespace fit {
inline constexpr int16_t kBuilt = 0;
inline constexpr int16_t kBadInput = 1;
inline constexpr int16_t kNoSolution = 2;  // no length, or a singular system
inline constexpr int16_t kNoMemory = 3;
}  // namespace fit

// B-spline to Bezier conversion; the exact rational form reports any of
// kBadSegments, kTooFewKnots and kZeroInterval as kRationalFailed.
namespace conversion {
inline constexpr int16_t kNoRecord = 1;
inline constexpr int16_t kNotRational = 2;
inline constexpr int16_t kBadSegments = 3;
inline constexpr int16_t kNoWeights = 3;
inline constexpr int16_t kTooFewKnots = 4;
inline constexpr int16_t kRationalFailed = 4;
inline constexpr int16_t kZeroInterval = 5;
}  // namespace conversion

// The split of a Bezier record in two.
namespace split {
inline constexpr int16_t kWrongKind = 1;
inline constexpr int16_t kTooFewPoints = 2;
inline constexpr int16_t kNoKnots = 3;
inline constexpr int16_t kTooFewWeights = 4;
inline constexpr int16_t kNoOutput = 5;
}  // namespace split

}  // namespace code
}  // namespace zv
