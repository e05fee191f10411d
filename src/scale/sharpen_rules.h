#pragma once
// The three sharpening rules, each applied to four pixels P, their right neighbours R and their
// lower neighbours D, on all sixteen bytes at once.
#include <emmintrin.h>

namespace qz::scale {

// floor(bytes / 2^kShift) in every byte.
template <int kShift>
__m128i ShiftBytesRight(__m128i bytes) {
  const auto kept = static_cast<char>(0xFF >> kShift);
  return _mm_and_si128(_mm_srli_epi16(bytes, kShift), _mm_set1_epi8(kept));
}

// ceil(bytes / 2^kShift) in every byte: halving with rounding up, repeated, rounds up once.
template <int kShift>
__m128i ShiftBytesRightUp(__m128i bytes) {
  for (int i = 0; i < kShift; ++i) bytes = _mm_avg_epu8(bytes, _mm_setzero_si128());
  return bytes;
}

// Every rule is P + (lift - drop) limited to 0..255, with lift and drop bytes of which at most one
// is not 0; so adding lift and then taking drop away, both saturating, gives the limited result
// with no widening to 16 bits.
struct SharpeningChange {
  __m128i lift;
  __m128i drop;
};

template <typename Rule>
__m128i SharpenBlock(__m128i p, __m128i r, __m128i d) {
  const SharpeningChange change = Rule::ChangeOf(p, r, d);
  return _mm_subs_epu8(_mm_adds_epu8(p, change.lift), change.drop);
}

// ((2^kShift + 2)·P - R - D) / 2^kShift. With v = ceil((R + D) / 2) the sum is
// 2^kShift·P + 2(P - v) + e, e being 0 or 1, and e cannot move the floor of
// (P - v) / 2^(kShift - 1); so the result is P + floor((P - v) / 2^(kShift - 1)).
template <int kShift>
struct PlainSharpening {
  static SharpeningChange ChangeOf(__m128i p, __m128i r, __m128i d) {
    const __m128i v = _mm_avg_epu8(r, d);
    return {ShiftBytesRight<kShift - 1>(_mm_subs_epu8(p, v)),
            ShiftBytesRightUp<kShift - 1>(_mm_subs_epu8(v, p))};
  }
};

// "Sharper": (10P - R - D) / 8.
using MildSharpening = PlainSharpening<3>;

// "SharperX2" as a separate pass: (6P - R - D) / 4.
using StrongSharpening = PlainSharpening<2>;

// "SharperX2" fused into the bilinear kernel: P + P/2 - D/4 - R/4, each channel shifted first;
// D/4 + R/4 is at most 126, so it fits a byte.
struct FusedStrongSharpening {
  static SharpeningChange ChangeOf(__m128i p, __m128i r, __m128i d) {
    const __m128i half = ShiftBytesRight<1>(p);
    const __m128i quarters = _mm_add_epi8(ShiftBytesRight<2>(d), ShiftBytesRight<2>(r));
    return {_mm_subs_epu8(half, quarters), _mm_subs_epu8(quarters, half)};
  }
};

}  // namespace qz::scale
