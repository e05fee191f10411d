#pragma once
// The three sharpening rules, each applied to a pixel P, its right neighbour R and its lower
// neighbour D on all four channels at once.
#include <emmintrin.h>

#include "scale/pixel_block.h"

namespace qz::scale {

// Each rule maps the widened channels of two pixels to 16-bit sums; Narrow then limits them to
// 0..255. Negative sums are shifted arithmetically, so they stay negative and become 0 there.

// "Sharper": (10P - R - D) / 8.
struct MildSharpening {
  static __m128i Apply(__m128i p, __m128i r, __m128i d) {
    const __m128i ten_p = _mm_mullo_epi16(p, _mm_set1_epi16(10));
    return _mm_srai_epi16(_mm_sub_epi16(_mm_sub_epi16(ten_p, r), d), 3);
  }
};

// "SharperX2" as a separate pass: (6P - R - D) / 4.
struct StrongSharpening {
  static __m128i Apply(__m128i p, __m128i r, __m128i d) {
    const __m128i six_p = _mm_mullo_epi16(p, _mm_set1_epi16(6));
    return _mm_srai_epi16(_mm_sub_epi16(_mm_sub_epi16(six_p, r), d), 2);
  }
};

// "SharperX2" fused into the bilinear kernel: P + P/2 - D/4 - R/4, each channel shifted first.
struct FusedStrongSharpening {
  static __m128i Apply(__m128i p, __m128i r, __m128i d) {
    const __m128i lift = _mm_add_epi16(p, _mm_srli_epi16(p, 1));
    return _mm_sub_epi16(_mm_sub_epi16(lift, _mm_srli_epi16(d, 2)), _mm_srli_epi16(r, 2));
  }
};

// Four sharpened pixels; D comes widened because the fused kernels hold it that way already.
template <typename Rule>
__m128i SharpenBlock(__m128i p, __m128i r, __m128i d_low, __m128i d_high) {
  return Narrow(Rule::Apply(WidenLow(p), WidenLow(r), d_low),
                Rule::Apply(WidenHigh(p), WidenHigh(r), d_high));
}

}  // namespace qz::scale
