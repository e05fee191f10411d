#pragma once
// Bicubic weights of every destination pixel, kept as factors of its row and of its column: the
// weight of tap (n, m) of pixel (x, y) is trunc(row factor n of y * column factor m of x). The
// memory grows with width + height; sixteen 32-bit weights per pixel (64 bytes) would take 400 MB
// at 2880 x 2160, more than a 32-bit process can spare.
#include <emmintrin.h>

#include <cstdint>
#include <memory>

namespace qz::scale {

// The factors of the four taps around one fraction: for a row, of source rows sy - 1 .. sy + 2,
// carrying the 16384 of the fixed-point weights; for a column, of source columns sx - 1 .. sx + 2.
// Rows (columns) with bitwise equal factors share one phase: a 2x image shown at 1440 x 1080 has a
// few dozen of each.
struct TapPhase {
  double factors[4] = {};
};

// One destination row or column: the source row sy (column sx) it is centred on and its phase.
struct AxisTap {
  int32_t centre = 0;
  int32_t phase = 0;
};

struct BicubicAxis {
  int32_t phase_count = 0;
  std::unique_ptr<AxisTap[]> taps;     // one per destination row (column)
  std::unique_ptr<TapPhase[]> phases;  // phase_count entries
};

// The sixteen weights of a pixel as 16-bit lanes, w0..w7 and w8..w15: every weight is at most
// 16384. Two loads give a pixel all its weights.
struct PixelWeights {
  __m128i halves[2];
};

// At most this many phase pairs get their weights worked out at build time (512 KiB).
inline constexpr int32_t kLargestPhaseTable = 16384;

struct BicubicWeights {
  // The sizes the factors were built for; all 0 while there are none.
  int32_t source_width = 0;
  int32_t source_height = 0;
  int32_t destination_width = 0;
  int32_t destination_height = 0;
  BicubicAxis rows;
  BicubicAxis columns;
  // The weights of every row phase with every column phase, row phase major, so the frames need no
  // floating point; null when there would be more than kLargestPhaseTable, and then each row works
  // out those of its own phase.
  std::unique_ptr<PixelWeights[]> phase_weights;
};

// The weights ScaleBicubic reads; written only by BuildBicubicWeights.
extern BicubicWeights CurrentBicubicWeights;

// Makes CurrentBicubicWeights match the four sizes, rebuilding (old factors released first) only
// when one differs from what they were built for; runs before any band of ScaleBicubic starts.
// False, with no factors left, when the memory cannot be had or a size lies outside 1..32767 (the
// range of 16.16 positions); the caller then scales the frame another way.
bool BuildBicubicWeights(int32_t source_width, int32_t source_height, int32_t destination_width,
                         int32_t destination_height);

// Weights of tap row n of a pixel, trunc(row factor n * column factor m) for m = 0..3, as four
// 32-bit lanes. `row_factor` holds row factor n in both halves.
inline __m128i TapRowWeights(__m128d row_factor, const double* column_factors) {
  const __m128i left = _mm_cvttpd_epi32(_mm_mul_pd(row_factor, _mm_loadu_pd(column_factors)));
  const __m128i right = _mm_cvttpd_epi32(_mm_mul_pd(row_factor, _mm_loadu_pd(column_factors + 2)));
  return _mm_unpacklo_epi64(left, right);
}

// The weights of a pixel from those of its four tap rows.
inline PixelWeights NarrowWeights(const __m128i tap_rows[4]) {
  return {{_mm_packs_epi32(tap_rows[0], tap_rows[1]), _mm_packs_epi32(tap_rows[2], tap_rows[3])}};
}

// The weights of the pixels of one row phase and one column phase.
inline PixelWeights PhaseWeights(const BicubicWeights& weights, int32_t row_phase,
                                 int32_t column_phase) {
  const double* row_factors = weights.rows.phases[row_phase].factors;
  const double* column_factors = weights.columns.phases[column_phase].factors;
  const __m128i tap_rows[4] = {TapRowWeights(_mm_set1_pd(row_factors[0]), column_factors),
                               TapRowWeights(_mm_set1_pd(row_factors[1]), column_factors),
                               TapRowWeights(_mm_set1_pd(row_factors[2]), column_factors),
                               TapRowWeights(_mm_set1_pd(row_factors[3]), column_factors)};
  return NarrowWeights(tap_rows);
}

}  // namespace qz::scale
