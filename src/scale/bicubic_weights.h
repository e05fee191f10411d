#pragma once
// Bicubic weights of every destination pixel, kept as factors of its row and of its column: the
// weight of tap (n, m) of pixel (x, y) is trunc(rows[y].factors[n] * columns[x].factors[m]). The
// memory grows with width + height; sixteen 32-bit weights per pixel (64 bytes) would take 400 MB
// at 2880 x 2160, more than a 32-bit process can spare.
#include <emmintrin.h>

#include <cstdint>
#include <memory>

namespace qz::scale {

// One destination column (or row): the source column sx (row sy) it is centred on and the factors
// of its taps sx - 1 .. sx + 2. Row factors carry the 16384 of the fixed-point weights.
struct BicubicTaps {
  int32_t centre = 0;
  double factors[4] = {};
};

struct BicubicWeights {
  // The sizes the factors were built for; all 0 while there are none.
  int32_t source_width = 0;
  int32_t source_height = 0;
  int32_t destination_width = 0;
  int32_t destination_height = 0;
  std::unique_ptr<BicubicTaps[]> columns;  // destination_width entries
  std::unique_ptr<BicubicTaps[]> rows;     // destination_height entries
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

}  // namespace qz::scale
