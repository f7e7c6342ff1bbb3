// Fuzz target: short programs over a pool of curve records and lists, so
// that definitions, tessellations, evaluations, conversions, splits, fits
// and intersections take each other's records as input and output, and
// records are released in any order (see program.hpp for the encoding).
#include "program.hpp"
