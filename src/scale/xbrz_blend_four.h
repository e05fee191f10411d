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

// Roles a .. i as indices of FourSamples3x3.
enum Role : int32_t { kA, kB, kC, kD, kE, kF, kG, kH, kI };

// Where role `role` of the view turned `Turns` quarter turns lies in the real grid, as Turned:
// the turned view's a is the real g, its b the real d, and so on.
template <int Turns>
constexpr int32_t TurnedRole(int32_t role) {
  constexpr int32_t kOnce[9] = {kG, kD, kA, kH, kE, kB, kI, kF, kC};
  if constexpr (Turns == 0) {
    return role;
  } else {
    return TurnedRole<Turns - 1>(kOnce[role]);
  }
}

// The eight neighbours of e in ring order; the rules compare e with each of them, and each
// with the next one round the ring, in every turn.
inline constexpr int32_t kRing[8] = {kA, kB, kC, kF, kI, kH, kG, kD};

// Ring pair k joins kRing[k] and kRing[k + 1]; the one that joins roles x and y.
constexpr int32_t RingPair(int32_t x, int32_t y) {
  for (int32_t k = 0; k < 8; ++k) {
    const int32_t first = kRing[k];
    const int32_t second = kRing[(k + 1) % 8];
    if ((first == x && second == y) || (first == y && second == x)) return k;
  }
  return -1;
}

// What all four turns ask of the grid, worked out once: a distance is symmetric, so e.g. the
// turn that compares h with i and the turn that compares i with h share one.
struct FourComparisons {
  __m128i from_centre[9];   // distance of e to each role
  __m128i similar_ring[8];  // ring pair k similar
  __m128i same_ring[8];     // ring pair k the same colour
  __m128i same_as_centre[9];
};

inline void Compare(const FourSamples3x3& grid, FourComparisons& out) {
  using namespace four_lanes;
  const __m128i limit = _mm_set1_epi32(kSimilarityLimit);
  for (const int32_t role : kRing) {
    out.from_centre[role] = Distance(grid[kE], grid[role]);
    out.same_as_centre[role] = _mm_cmpeq_epi32(grid[kE].colour, grid[role].colour);
  }
  for (int32_t k = 0; k < 8; ++k) {
    const FourSamples& first = grid[kRing[k]];
    const FourSamples& second = grid[kRing[(k + 1) % 8]];
    out.similar_ring[k] = _mm_cmplt_epi32(Distance(first, second), limit);
    out.same_ring[k] = _mm_cmpeq_epi32(first.colour, second.colour);
  }
}

// Inlined into the caller, so the samples and comparisons stay where they were made rather than
// being copied per turn.
template <int Turns>
[[gnu::always_inline]] inline void BlendFourCorners(const FourSamples3x3& real,
                                                    const FourComparisons& compared, __m128i marks,
                                                    FourBlocks& blocks) {
  using namespace four_lanes;
  __m128i turned = marks;
  if constexpr (Turns != 0) {
    turned = _mm_and_si128(
        _mm_or_si128(_mm_slli_epi32(marks, 2 * Turns), _mm_srli_epi32(marks, 8 - 2 * Turns)),
        _mm_set1_epi32(255));
  }
  constexpr int32_t b = TurnedRole<Turns>(kB), c = TurnedRole<Turns>(kC), d = TurnedRole<Turns>(kD),
                    f = TurnedRole<Turns>(kF), g = TurnedRole<Turns>(kG), h = TurnedRole<Turns>(kH),
                    i = TurnedRole<Turns>(kI);
  const __m128i limit = _mm_set1_epi32(kSimilarityLimit);
  const __m128i all = _mm_set1_epi32(-1);
  const __m128i zero = _mm_setzero_si128();
  const auto similar_to_centre = [&](int32_t role) {
    return _mm_cmplt_epi32(compared.from_centre[role], limit);
  };
  const auto similar = [&](int32_t x, int32_t y) { return compared.similar_ring[RingPair(x, y)]; };
  const auto same = [&](int32_t x, int32_t y) { return compared.same_ring[RingPair(x, y)]; };

  const __m128i field = Field(turned, kBottomRightShift);
  const __m128i unmarked = _mm_cmpeq_epi32(field, zero);
  if (_mm_movemask_epi8(unmarked) == 0xFFFF) return;
  const __m128i marked = _mm_xor_si128(unmarked, all);
  const __m128i colour = Select(_mm_cmpgt_epi32(compared.from_centre[f], compared.from_centre[h]),
                                real[h].colour, real[f].colour);
  const __m128i ends_at_right = _mm_andnot_si128(
      _mm_or_si128(_mm_cmpeq_epi32(Field(turned, kTopRightShift), zero), similar_to_centre(g)),
      all);
  const __m128i ends_below = _mm_andnot_si128(
      _mm_or_si128(_mm_cmpeq_epi32(Field(turned, kBottomLeftShift), zero), similar_to_centre(c)),
      all);
  const __m128i notch = _mm_andnot_si128(
      similar_to_centre(i), _mm_and_si128(_mm_and_si128(similar(g, h), similar(h, i)),
                                          _mm_and_si128(similar(i, f), similar(f, c))));
  const __m128i line = _mm_or_si128(
      _mm_cmpeq_epi32(field, _mm_set1_epi32(kBlendDominant)),
      _mm_andnot_si128(_mm_or_si128(_mm_or_si128(ends_at_right, ends_below), notch), all));
  const __m128i fg = Distance(real[f], real[g]);
  const __m128i hc = Distance(real[h], real[c]);
  const __m128i shallow =
      _mm_andnot_si128(_mm_or_si128(_mm_cmpgt_epi32(_mm_add_epi32(fg, fg), hc),
                                    _mm_or_si128(compared.same_as_centre[g], same(d, g))),
                       _mm_and_si128(line, marked));
  const __m128i steep =
      _mm_andnot_si128(_mm_or_si128(_mm_cmpgt_epi32(_mm_add_epi32(hc, hc), fg),
                                    _mm_or_si128(compared.same_as_centre[c], same(b, c))),
                       _mm_and_si128(line, marked));
  const auto weight = [](uint32_t value) { return _mm_set1_epi32(static_cast<int32_t>(value)); };
  __m128i corner = Select(line, weight(kHalfWeight), weight(kCornerWeight));
  corner = Select(_mm_or_si128(shallow, steep), weight(kThreeQuartersWeight), corner);
  corner = Select(_mm_and_si128(shallow, steep), weight(kFiveSixthsWeight), corner);
  __m128i& below = TurnedLanes<Turns>(blocks, 1, 0);
  __m128i& right = TurnedLanes<Turns>(blocks, 0, 1);
  __m128i& diagonal = TurnedLanes<Turns>(blocks, 1, 1);
  // Lines that run out shallow or steep are the rarer case: most groups of four need neither mix.
  if (_mm_movemask_epi8(_mm_or_si128(shallow, steep)) != 0) {
    below = Mix(colour, below, _mm_and_si128(shallow, weight(kQuarterWeight)));
    right = Mix(colour, right, _mm_and_si128(steep, weight(kQuarterWeight)));
  }
  diagonal = Mix(colour, diagonal, _mm_and_si128(marked, corner));
}

// The four blocks, starting from their centre colours, with their corners blended in turn; the
// same as BlendBlock on each.
inline void BlendFourBlocks(const FourSamples3x3& around, __m128i marks, FourBlocks& blocks) {
  FourComparisons compared;
  Compare(around, compared);
  BlendFourCorners<0>(around, compared, marks, blocks);
  BlendFourCorners<1>(around, compared, marks, blocks);
  BlendFourCorners<2>(around, compared, marks, blocks);
  BlendFourCorners<3>(around, compared, marks, blocks);
}

}  // namespace qz::scale
