#pragma once
// The cubic B-spline: 4/6 at 0, 1/6 at +-1, 0 from +-2 outwards. Shared by the bicubic weight
// build and the cursor resampler, so both weigh their taps with the very same doubles.

namespace qz::scale {

double BSplineWeight(double t);

}  // namespace qz::scale
