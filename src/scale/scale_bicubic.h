#pragma once
// Resamples the 2x image to the picture with a 4 x 4 cubic B-spline, in integer arithmetic, from
// the weights of BuildBicubicWeights.
#include <emmintrin.h>

#include <cstdint>

#include "scale/kernel.h"

namespace qz::scale {

// Rectangle in destination pixels; `source` is the 2x image (W x H), `destination` the picture.
// Each destination pixel reads source rows sy - 1 .. sy + 2 and columns sx - 1 .. sx + 2 with
// sx <= W and sy <= H, so up to the third spare column and row past the image; writes the low
// three bytes of the rectangle and nothing else. Does nothing unless CurrentBicubicWeights was
// built for these four sizes.
void ScaleBicubic(const KernelImages& images, int32_t x0, int32_t x1, int32_t y0, int32_t y1);

// One destination pixel from its sixteen taps:
//
//            sx - 1  sx    sx + 1  sx + 2
//   sy - 1  [ w0     w1    w2      w3  ]   row 0 stands in for row -1 when sy = 0
//   sy      [ w4     w5    w6      w7  ]
//   sy + 1  [ w8     w9    w10     w11 ]
//   sy + 2  [ w12    w13   w14     w15 ]
//             ^ column 0 stands in for column -1 when sx = 0
//
// `tap_rows` point at the four source rows (already substituted), `weights[n]` holds w4n..w4n+3
// as 32-bit lanes, `centre` is sx. Keeps the top byte of `previous`.
inline uint32_t BicubicPixel(const uint32_t* const tap_rows[4], int32_t centre,
                             const __m128i weights[4], uint32_t previous) {
  const __m128i blue_red_mask = _mm_set1_epi32(0x00FF00FF);
  __m128i blue = _mm_setzero_si128();
  __m128i green = _mm_setzero_si128();
  __m128i red = _mm_setzero_si128();
  for (int32_t n = 0; n < 4; ++n) {
    // The four taps of a row in one load; at the left edge column 0 is taken twice, which is its
    // weight plus that of column -1.
    const __m128i pixels =
        centre == 0
            ? _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(tap_rows[n])),
                                _MM_SHUFFLE(2, 1, 0, 0))
            : _mm_loadu_si128(reinterpret_cast<const __m128i*>(tap_rows[n] + centre - 1));
    // A weight (at most 16384) fills the low 16 bits of its lane, so a 16-bit multiply-add of
    // (blue | red << 16) by (w | 0) and by (0 | w), and of (green | alpha << 16) by (w | 0), gives
    // exact 32-bit products of one channel.
    const __m128i blue_red = _mm_and_si128(pixels, blue_red_mask);
    const __m128i green_alpha = _mm_srli_epi16(pixels, 8);
    blue = _mm_add_epi32(blue, _mm_madd_epi16(blue_red, weights[n]));
    red = _mm_add_epi32(red, _mm_madd_epi16(blue_red, _mm_slli_epi32(weights[n], 16)));
    green = _mm_add_epi32(green, _mm_madd_epi16(green_alpha, weights[n]));
  }
  // Add up the four tap columns: (b0+b2, g0+g2, b1+b3, g1+g3) and (r0+r2, 0, r1+r3, 0), then the
  // halves, giving (b, g, r, 0).
  const __m128i blue_green =
      _mm_add_epi32(_mm_unpacklo_epi32(blue, green), _mm_unpackhi_epi32(blue, green));
  const __m128i zero = _mm_setzero_si128();
  const __m128i red_zero =
      _mm_add_epi32(_mm_unpacklo_epi32(red, zero), _mm_unpackhi_epi32(red, zero));
  const __m128i sums = _mm_add_epi32(_mm_unpacklo_epi64(blue_green, red_zero),
                                     _mm_unpackhi_epi64(blue_green, red_zero));
  // The weights are non-negative and total at most 16384, so each channel is at most 255 and the
  // saturating packs keep it whole.
  const __m128i channels = _mm_srai_epi32(sums, 14);
  const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(channels, channels), zero);
  return (previous & 0xFF000000u) | static_cast<uint32_t>(_mm_cvtsi128_si32(bytes));
}

}  // namespace qz::scale
