#include "scale/bspline_weight.h"

namespace qz::scale {
namespace {

// The truncated power (u)+^3 the spline is built from.
double PositiveCube(double u) {
  return u > 0.0 ? u * u * u : 0.0;
}

}  // namespace

double BSplineWeight(double t) {
  if (t > 2.0) return 0.0;
  // The fifth term, (t - 2)+^3, is zero for every t that gets here; the factor is 1/6 rounded.
  return (PositiveCube(t + 2.0) - 4.0 * PositiveCube(t + 1.0) + 6.0 * PositiveCube(t) -
          4.0 * PositiveCube(t - 1.0)) *
         0.16666666666666666;
}

}  // namespace qz::scale
