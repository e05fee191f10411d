#pragma once
// Bicubic weights of every destination pixel, kept as factors of its row and of its column: the
// weight of tap (n, m) of pixel (x, y) is trunc(rows[y].factors[n] * column factor m of x). The
// memory grows with width + height; sixteen 32-bit weights per pixel (64 bytes) would take 400 MB
// at 2880 x 2160, more than a 32-bit process can spare.
#include <emmintrin.h>

#include <cstdint>
#include <memory>

namespace qz::scale {

// One destination row: the source row sy it is centred on and the factors of its taps
// sy - 1 .. sy + 2, which carry the 16384 of the fixed-point weights.
struct BicubicTaps {
  int32_t centre = 0;
  double factors[4] = {};
};

// The factors of column taps sx - 1 .. sx + 2 at one fraction. Columns with bitwise equal factors
// share one phase, so a row works its weights out once per phase, not once per column: a 2x image
// shown at 1440 x 1080 has a few dozen phases.
struct ColumnPhase {
  double factors[4] = {};
};

// One destination column: the source column sx it is centred on and its phase.
struct BicubicColumn {
  int32_t centre = 0;
  int32_t phase = 0;
};

struct BicubicWeights {
  // The sizes the factors were built for; all 0 while there are none.
  int32_t source_width = 0;
  int32_t source_height = 0;
  int32_t destination_width = 0;
  int32_t destination_height = 0;
  int32_t phase_count = 0;
  std::unique_ptr<BicubicColumn[]> columns;      // destination_width entries
  std::unique_ptr<ColumnPhase[]> column_phases;  // phase_count entries
  std::unique_ptr<BicubicTaps[]> rows;           // destination_height entries
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

// The sixteen weights of a pixel as 16-bit lanes, w0..w7 and w8..w15: every weight is at most
// 16384. Two loads give a pixel all its weights.
struct PixelWeights {
  __m128i halves[2];
};

inline PixelWeights NarrowWeights(const __m128i tap_rows[4]) {
  return {{_mm_packs_epi32(tap_rows[0], tap_rows[1]), _mm_packs_epi32(tap_rows[2], tap_rows[3])}};
}

// The weights of a pixel from its row and column factors.
inline PixelWeights PixelWeightsOf(const double row_factors[4], const double column_factors[4]) {
  const __m128i tap_rows[4] = {TapRowWeights(_mm_set1_pd(row_factors[0]), column_factors),
                               TapRowWeights(_mm_set1_pd(row_factors[1]), column_factors),
                               TapRowWeights(_mm_set1_pd(row_factors[2]), column_factors),
                               TapRowWeights(_mm_set1_pd(row_factors[3]), column_factors)};
  return NarrowWeights(tap_rows);
}

}  // namespace qz::scale
