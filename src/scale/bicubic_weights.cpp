#include "scale/bicubic_weights.h"

#include <algorithm>
#include <new>

#include "scale/bspline_weight.h"

namespace qz::scale {

BicubicWeights CurrentBicubicWeights;

namespace {

// 16.16 positions hold at most 32767 whole pixels.
constexpr int32_t kLargestSize = 32767;

// A destination row or column before its factors are shared out into phases.
struct TapsAt {
  int32_t centre = 0;
  double factors[4] = {};
};

using FactorRule = double (*)(double fraction, int32_t tap);

// Row tap n lies at fraction - (n - 1) and carries the 16384 of the fixed-point weights.
double RowFactor(double fraction, int32_t tap) {
  return BSplineWeight(fraction - (tap - 1)) * 16384.0;
}

// Column tap m lies at (m - 1) - fraction.
double ColumnFactor(double fraction, int32_t tap) {
  return BSplineWeight((tap - 1) - fraction);
}

bool FactorsBefore(const double* left, const double* right) {
  return std::lexicographical_compare(left, left + 4, right, right + 4);
}

// The centre follows the 16.16 step of the other scaling kernels (an extra 32768 / destination,
// no half-pixel offset) while the fraction comes from the exact ratio with a half-pixel offset,
// so fractions run from 0 to about 1.5. Rows (columns) with equal factors then get one phase.
// `taps_at` and `order` are scratch for destination_size entries.
bool BuildAxis(int32_t source_size, int32_t destination_size, FactorRule factor, TapsAt* taps_at,
               int32_t* order, BicubicAxis& axis) {
  axis.taps.reset(new (std::nothrow) AxisTap[destination_size]);
  axis.phases.reset(new (std::nothrow) TapPhase[destination_size]);
  if (!axis.taps || !axis.phases) return false;
  const int32_t step = ((source_size << 16) + 32768) / destination_size;
  const double ratio = static_cast<double>(source_size) / destination_size;
  for (int32_t i = 0; i < destination_size; ++i) {
    TapsAt& taps = taps_at[i];
    taps.centre = (step * i) >> 16;
    const double fraction = i * ratio + 0.5 - taps.centre;
    for (int32_t tap = 0; tap < 4; ++tap) taps.factors[tap] = factor(fraction, tap);
    order[i] = i;
  }
  std::sort(order, order + destination_size, [taps_at](int32_t left, int32_t right) {
    return FactorsBefore(taps_at[left].factors, taps_at[right].factors);
  });
  int32_t phase = -1;
  for (int32_t i = 0; i < destination_size; ++i) {
    const TapsAt& taps = taps_at[order[i]];
    if (phase < 0 || FactorsBefore(axis.phases[phase].factors, taps.factors)) {
      ++phase;
      std::copy_n(taps.factors, 4, axis.phases[phase].factors);
    }
    axis.taps[order[i]] = {taps.centre, phase};
  }
  axis.phase_count = phase + 1;
  return true;
}

// The weights of all phase pairs, unless there are too many of them.
void BuildPhaseWeights(BicubicWeights& weights) {
  const int32_t row_phases = weights.rows.phase_count;
  const int32_t column_phases = weights.columns.phase_count;
  if (row_phases > kLargestPhaseTable / column_phases) return;
  weights.phase_weights.reset(new (std::nothrow) PixelWeights[row_phases * column_phases]);
  if (!weights.phase_weights) return;
  for (int32_t row_phase = 0; row_phase < row_phases; ++row_phase) {
    for (int32_t column_phase = 0; column_phase < column_phases; ++column_phase) {
      weights.phase_weights[row_phase * column_phases + column_phase] =
          PhaseWeights(weights, row_phase, column_phase);
    }
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
  const int32_t longest = std::max(destination_width, destination_height);
  const std::unique_ptr<TapsAt[]> taps_at(new (std::nothrow) TapsAt[longest]);
  const std::unique_ptr<int32_t[]> order(new (std::nothrow) int32_t[longest]);
  if (!taps_at || !order ||
      !BuildAxis(source_height, destination_height, RowFactor, taps_at.get(), order.get(),
                 weights.rows) ||
      !BuildAxis(source_width, destination_width, ColumnFactor, taps_at.get(), order.get(),
                 weights.columns)) {
    weights = BicubicWeights{};
    return false;
  }
  BuildPhaseWeights(weights);
  weights.source_width = source_width;
  weights.source_height = source_height;
  weights.destination_width = destination_width;
  weights.destination_height = destination_height;
  return true;
}

}  // namespace qz::scale
