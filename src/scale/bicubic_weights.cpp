#include "scale/bicubic_weights.h"

#include <new>

#include "scale/bspline_weight.h"

namespace qz::scale {

BicubicWeights CurrentBicubicWeights;

namespace {

// 16.16 positions hold at most 32767 whole pixels.
constexpr int32_t kLargestSize = 32767;

using FactorRule = double (*)(double fraction, int32_t tap);

// Row tap n lies at fraction - (n - 1) and carries the 16384 of the fixed-point weights.
double RowFactor(double fraction, int32_t tap) {
  return BSplineWeight(fraction - (tap - 1)) * 16384.0;
}

// Column tap m lies at (m - 1) - fraction.
double ColumnFactor(double fraction, int32_t tap) {
  return BSplineWeight((tap - 1) - fraction);
}

// The centre follows the 16.16 step of the other scaling kernels (an extra 32768 / destination,
// no half-pixel offset) while the fraction comes from the exact ratio with a half-pixel offset,
// so fractions run from 0 to about 1.5.
void BuildAxis(BicubicTaps* taps, int32_t source_size, int32_t destination_size,
               FactorRule factor) {
  const int32_t step = ((source_size << 16) + 32768) / destination_size;
  const double ratio = static_cast<double>(source_size) / destination_size;
  for (int32_t i = 0; i < destination_size; ++i) {
    BicubicTaps& taps_of_i = taps[i];
    taps_of_i.centre = (step * i) >> 16;
    const double fraction = i * ratio + 0.5 - taps_of_i.centre;
    for (int32_t tap = 0; tap < 4; ++tap) taps_of_i.factors[tap] = factor(fraction, tap);
  }
}

bool InRange(int32_t size) {
  return size >= 1 && size <= kLargestSize;
}

}  // namespace

bool BuildBicubicWeights(int32_t source_width, int32_t source_height, int32_t destination_width,
                         int32_t destination_height) {
  if (!InRange(source_width) || !InRange(source_height) || !InRange(destination_width) ||
      !InRange(destination_height)) {
    return false;
  }
  BicubicWeights& weights = CurrentBicubicWeights;
  if (weights.source_width == source_width && weights.source_height == source_height &&
      weights.destination_width == destination_width &&
      weights.destination_height == destination_height) {
    return true;
  }
  weights = BicubicWeights{};
  weights.columns.reset(new (std::nothrow) BicubicTaps[destination_width]);
  weights.rows.reset(new (std::nothrow) BicubicTaps[destination_height]);
  if (!weights.columns || !weights.rows) {
    weights = BicubicWeights{};
    return false;
  }
  BuildAxis(weights.columns.get(), source_width, destination_width, ColumnFactor);
  BuildAxis(weights.rows.get(), source_height, destination_height, RowFactor);
  weights.source_width = source_width;
  weights.source_height = source_height;
  weights.destination_width = destination_width;
  weights.destination_height = destination_height;
  return true;
}

}  // namespace qz::scale
