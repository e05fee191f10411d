#include "scale/bicubic_weights.h"

#include <algorithm>
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

bool FactorsBefore(const double* left, const double* right) {
  return std::lexicographical_compare(left, left + 4, right, right + 4);
}

// Gives columns with equal factors one phase. `order` is scratch for `width` indices;
// column_phases must have room for one phase per column.
void ShareColumnPhases(const BicubicTaps* taps, int32_t width, int32_t* order,
                       BicubicWeights& weights) {
  for (int32_t x = 0; x < width; ++x) order[x] = x;
  std::sort(order, order + width, [taps](int32_t left, int32_t right) {
    return FactorsBefore(taps[left].factors, taps[right].factors);
  });
  int32_t phase = -1;
  for (int32_t i = 0; i < width; ++i) {
    const BicubicTaps& column = taps[order[i]];
    if (phase < 0 || FactorsBefore(weights.column_phases[phase].factors, column.factors)) {
      ++phase;
      std::copy_n(column.factors, 4, weights.column_phases[phase].factors);
    }
    weights.columns[order[i]] = {column.centre, phase};
  }
  weights.phase_count = phase + 1;
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
  const std::unique_ptr<BicubicTaps[]> column_taps(new (std::nothrow)
                                                       BicubicTaps[destination_width]);
  const std::unique_ptr<int32_t[]> order(new (std::nothrow) int32_t[destination_width]);
  weights.columns.reset(new (std::nothrow) BicubicColumn[destination_width]);
  weights.column_phases.reset(new (std::nothrow) ColumnPhase[destination_width]);
  weights.rows.reset(new (std::nothrow) BicubicTaps[destination_height]);
  if (!column_taps || !order || !weights.columns || !weights.column_phases || !weights.rows) {
    weights = BicubicWeights{};
    return false;
  }
  BuildAxis(column_taps.get(), source_width, destination_width, ColumnFactor);
  ShareColumnPhases(column_taps.get(), destination_width, order.get(), weights);
  BuildAxis(weights.rows.get(), source_height, destination_height, RowFactor);
  weights.source_width = source_width;
  weights.source_height = source_height;
  weights.destination_width = destination_width;
  weights.destination_height = destination_height;
  return true;
}

}  // namespace qz::scale
