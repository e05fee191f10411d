#pragma once
// xBRZ blending of four neighbouring 2 x 2 output blocks of the frame enlarger at once, one SSE2
// lane per source pixel: the rule of BlendFrameCorner with every decision a lane mask. On game
// art most pixels have a marked corner, and marks, distances and similarities follow no pattern
// a branch predictor could learn.
#include <emmintrin.h>

#include <cstdint>

#include "scale/color_magnitude.h"
#include "scale/xbrz_blend.h"
#include "scale/xbrz_rules.h"

namespace qz::scale {

// Colours (24 bits) and magnitudes of four pixels side by side.
struct FourSamples {
  __m128i colour;
  __m128i magnitude;
};

// Output blocks of four source pixels: at[row][column], one lane per pixel.
struct FourBlocks {
  __m128i at[2][2];
};

template <int Turns>
__m128i& TurnedLanes(FourBlocks& blocks, int32_t row, int32_t column) {
  if constexpr (Turns == 0) {
    return blocks.at[row][column];
  } else {
    return TurnedLanes<Turns - 1>(blocks, 1 - column, row);
  }
}

namespace four_lanes {

inline __m128i Distance(const FourSamples& a, const FourSamples& b) {
  const __m128i difference = _mm_sub_epi32(a.magnitude, b.magnitude);
  const __m128i sign = _mm_srai_epi32(difference, 31);
  return _mm_sub_epi32(_mm_xor_si128(difference, sign), sign);
}

inline __m128i Similar(const FourSamples& a, const FourSamples& b) {
  return _mm_cmplt_epi32(Distance(a, b), _mm_set1_epi32(kSimilarityLimit));
}

inline __m128i Differ(const FourSamples& a, const FourSamples& b) {
  return _mm_xor_si128(_mm_cmpeq_epi32(a.colour, b.colour), _mm_set1_epi32(-1));
}

inline __m128i Select(__m128i mask, __m128i if_set, __m128i if_clear) {
  return _mm_or_si128(_mm_and_si128(mask, if_set), _mm_andnot_si128(mask, if_clear));
}

inline __m128i Field(__m128i marks, uint32_t shift) {
  return _mm_and_si128(_mm_srli_epi32(marks, static_cast<int>(shift)), _mm_set1_epi32(3));
}

// Per channel (weight * colour + (256 - weight) * pixel) / 256, rounded down, as MixIn256ths:
// both products and their sum stay below 2^16, so 16-bit lanes hold them exactly.
inline __m128i Mix(__m128i colour, __m128i pixel, __m128i weight) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i paired = _mm_or_si128(weight, _mm_slli_epi32(weight, 16));
  const __m128i weight_low = _mm_unpacklo_epi32(paired, paired);
  const __m128i weight_high = _mm_unpackhi_epi32(paired, paired);
  const __m128i full = _mm_set1_epi16(256);
  const auto half = [&](__m128i colour_channels, __m128i pixel_channels, __m128i share) {
    const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(colour_channels, share),
                                      _mm_mullo_epi16(pixel_channels, _mm_sub_epi16(full, share)));
    return _mm_srli_epi16(sum, 8);
  };
  return _mm_packus_epi16(
      half(_mm_unpacklo_epi8(colour, zero), _mm_unpacklo_epi8(pixel, zero), weight_low),
      half(_mm_unpackhi_epi8(colour, zero), _mm_unpackhi_epi8(pixel, zero), weight_high));
}

}  // namespace four_lanes

// The 3 x 3 samples a .. i, row by row.
using FourSamples3x3 = FourSamples[9];

// Where role `role` (0 = a .. 8 = i) of the view turned `Turns` quarter turns lies in the real
// grid, as Turned: the turned view's a is the real g, its b the real d, and so on.
template <int Turns>
constexpr int32_t TurnedRole(int32_t role) {
  constexpr int32_t kOnce[9] = {6, 3, 0, 7, 4, 1, 8, 5, 2};
  if constexpr (Turns == 0) {
    return role;
  } else {
    return TurnedRole<Turns - 1>(kOnce[role]);
  }
}

// Inlined into the caller, so the samples stay where they were loaded rather than being copied
// per turn.
template <int Turns>
[[gnu::always_inline]] inline void BlendFourCorners(const FourSamples3x3& real, __m128i marks,
                                                    FourBlocks& blocks) {
  using namespace four_lanes;
  __m128i turned = marks;
  if constexpr (Turns != 0) {
    turned = _mm_and_si128(
        _mm_or_si128(_mm_slli_epi32(marks, 2 * Turns), _mm_srli_epi32(marks, 8 - 2 * Turns)),
        _mm_set1_epi32(255));
  }
  const __m128i field = Field(turned, kBottomRightShift);
  const __m128i zero = _mm_setzero_si128();
  const __m128i marked = _mm_xor_si128(_mm_cmpeq_epi32(field, zero), _mm_set1_epi32(-1));
  struct Roles {
    const FourSamples &a, &b, &c, &d, &e, &f, &g, &h, &i;
  };
  const Roles n{real[TurnedRole<Turns>(0)], real[TurnedRole<Turns>(1)], real[TurnedRole<Turns>(2)],
                real[TurnedRole<Turns>(3)], real[TurnedRole<Turns>(4)], real[TurnedRole<Turns>(5)],
                real[TurnedRole<Turns>(6)], real[TurnedRole<Turns>(7)], real[TurnedRole<Turns>(8)]};
  const __m128i colour =
      Select(_mm_cmpgt_epi32(Distance(n.e, n.f), Distance(n.e, n.h)), n.h.colour, n.f.colour);
  const __m128i ends_at_right = _mm_andnot_si128(
      _mm_or_si128(_mm_cmpeq_epi32(Field(turned, kTopRightShift), zero), Similar(n.e, n.g)),
      _mm_set1_epi32(-1));
  const __m128i ends_below = _mm_andnot_si128(
      _mm_or_si128(_mm_cmpeq_epi32(Field(turned, kBottomLeftShift), zero), Similar(n.e, n.c)),
      _mm_set1_epi32(-1));
  const __m128i notch = _mm_andnot_si128(
      Similar(n.e, n.i), _mm_and_si128(_mm_and_si128(Similar(n.g, n.h), Similar(n.h, n.i)),
                                       _mm_and_si128(Similar(n.i, n.f), Similar(n.f, n.c))));
  const __m128i line =
      _mm_or_si128(_mm_cmpeq_epi32(field, _mm_set1_epi32(kBlendDominant)),
                   _mm_andnot_si128(_mm_or_si128(_mm_or_si128(ends_at_right, ends_below), notch),
                                    _mm_set1_epi32(-1)));
  const __m128i fg = Distance(n.f, n.g);
  const __m128i hc = Distance(n.h, n.c);
  const __m128i shallow =
      _mm_and_si128(_mm_andnot_si128(_mm_cmpgt_epi32(_mm_add_epi32(fg, fg), hc), line),
                    _mm_and_si128(Differ(n.e, n.g), Differ(n.d, n.g)));
  const __m128i steep =
      _mm_and_si128(_mm_andnot_si128(_mm_cmpgt_epi32(_mm_add_epi32(hc, hc), fg), line),
                    _mm_and_si128(Differ(n.e, n.c), Differ(n.b, n.c)));
  const auto weight = [](uint32_t value) { return _mm_set1_epi32(static_cast<int32_t>(value)); };
  __m128i corner = Select(line, weight(kHalfWeight), weight(kCornerWeight));
  corner = Select(_mm_or_si128(shallow, steep), weight(kThreeQuartersWeight), corner);
  corner = Select(_mm_and_si128(shallow, steep), weight(kFiveSixthsWeight), corner);
  __m128i& below = TurnedLanes<Turns>(blocks, 1, 0);
  __m128i& right = TurnedLanes<Turns>(blocks, 0, 1);
  __m128i& diagonal = TurnedLanes<Turns>(blocks, 1, 1);
  below = Mix(colour, below, _mm_and_si128(_mm_and_si128(shallow, marked), weight(kQuarterWeight)));
  right = Mix(colour, right, _mm_and_si128(_mm_and_si128(steep, marked), weight(kQuarterWeight)));
  diagonal = Mix(colour, diagonal, _mm_and_si128(marked, corner));
}

// The four blocks, starting from their centre colours, with their corners blended in turn; the
// same as BlendBlock on each.
inline void BlendFourBlocks(const FourSamples3x3& around, __m128i marks, FourBlocks& blocks) {
  BlendFourCorners<0>(around, marks, blocks);
  BlendFourCorners<1>(around, marks, blocks);
  BlendFourCorners<2>(around, marks, blocks);
  BlendFourCorners<3>(around, marks, blocks);
}

}  // namespace qz::scale
