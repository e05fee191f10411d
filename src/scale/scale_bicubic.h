#pragma once
// Resamples the 2x image to the picture with a 4 x 4 cubic B-spline, in integer arithmetic, from
// the weights of BuildBicubicWeights.
#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

#include "scale/bicubic_paired_rows.h"
#include "scale/bicubic_weights.h"
#include "scale/kernel.h"

namespace qz::scale {

// Rectangle in destination pixels; `source` is the 2x image (W x H), `destination` the picture.
// Each destination pixel reads source rows sy - 1 .. sy + 2 and columns sx - 1 .. sx + 2 with
// sx <= W and sy <= H, so up to the third spare column and row past the image; writes the low
// three bytes of the rectangle and nothing else. Does nothing unless CurrentBicubicWeights was
// built for these four sizes, nor when its scratch (four paired source rows, 16 bytes a column;
// where each destination column reads, at most 16 bytes a column; and without the table of phase
// weights 32 bytes a column phase) cannot be had.
void ScaleBicubic(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1);

// Sums of tap row n (0..3) of a pixel: `tap_row` is that paired source row
// (bicubic_paired_rows.h) and `entry` (sx - 1) its entry of columns sx - 1 and sx, counted in
// bytes so that reaching it takes no scaling. A 16-bit multiply-add of an entry by a weight pair
// repeated in every 32-bit lane gives w·left + w'·right of each channel exactly in 32 bits. The
// pairs are spread from the weights here rather than stored spread: eight more loads a pixel cost
// more than eight shuffles.
template <int32_t kTapRow>
__m128i TapRowSums(const PairedColumns* tap_row, EntryBytes entry, const PixelWeights& weights) {
  constexpr int32_t kLeftLane = (kTapRow % 2) * 2;  // the 32-bit lane of (w4n, w4n+1)
  const __m128i half = weights.halves[kTapRow / 2];
  return _mm_add_epi32(
      _mm_madd_epi16(EntryAt(tap_row, entry, 0), _mm_shuffle_epi32(half, kLeftLane * 0x55)),
      _mm_madd_epi16(EntryAt(tap_row, entry, 2), _mm_shuffle_epi32(half, (kLeftLane + 1) * 0x55)));
}

// Channel sums (blue, green, red, alpha) of one destination pixel over its sixteen taps:
//
//            sx - 1  sx    sx + 1  sx + 2
//   sy - 1  [ w0     w1    w2      w3  ]   row 0 stands in for row -1 when sy = 0
//   sy      [ w4     w5    w6      w7  ]
//   sy + 1  [ w8     w9    w10     w11 ]
//   sy + 2  [ w12    w13   w14     w15 ]
//             ^ column 0 stands in for column -1 when sx = 0
//
// `tap_rows[n]` is paired source row n and `entry` = sx - 1.
inline __m128i BicubicSums(const PairedColumns* const tap_rows[4], EntryBytes entry,
                           const PixelWeights& weights) {
  return _mm_add_epi32(_mm_add_epi32(TapRowSums<0>(tap_rows[0], entry, weights),
                                     TapRowSums<1>(tap_rows[1], entry, weights)),
                       _mm_add_epi32(TapRowSums<2>(tap_rows[2], entry, weights),
                                     TapRowSums<3>(tap_rows[3], entry, weights)));
}

// Four destination pixels from their channel sums, each sum >> 14, with the top bytes of
// `previous`. The weights are non-negative and total at most 16384, so each channel is at most
// 255 and the saturating packs keep it whole. The top bytes of the source are summed too and
// dropped here: one mask per four pixels costs less than one per paired entry.
inline __m128i BicubicPixels(__m128i sums0, __m128i sums1, __m128i sums2, __m128i sums3,
                             __m128i previous) {
  const __m128i low = _mm_packs_epi32(_mm_srai_epi32(sums0, 14), _mm_srai_epi32(sums1, 14));
  const __m128i high = _mm_packs_epi32(_mm_srai_epi32(sums2, 14), _mm_srai_epi32(sums3, 14));
  const __m128i top_bytes = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
  return _mm_or_si128(_mm_and_si128(previous, top_bytes),
                      _mm_andnot_si128(top_bytes, _mm_packus_epi16(low, high)));
}

}  // namespace qz::scale
