#pragma once
// xBRZ corner marks of the frame enlarger: for every corner where four source pixels meet,
// whether an edge runs along it and how strongly, decided once on colour magnitudes and shared
// by the four pixels around the corner.
#include <emmintrin.h>

#include <cstdint>

#include "scale/color_magnitude.h"
#include "scale/neighbourhood_4x4.h"
#include "scale/xbrz_rules.h"

namespace qz::scale {

// Colour magnitudes, exact 24-bit colours, and a dominant edge at four times the change.
struct FrameCornerRules {
  using Pixel = Sample;

  // Eight distances of up to 2^27 each: the sums fit 32 bits, four times a sum does not.
  static int64_t Distance(const Sample& a, const Sample& b) { return scale::Distance(a, b); }
  static bool Identical(const Sample& a, const Sample& b) { return a.colour == b.colour; }
  static bool Identical(uint32_t a_colour, uint32_t b_colour) { return a_colour == b_colour; }
  static bool DominantDirection(int64_t less, int64_t more) { return 4 * less < more; }
};

inline CornerVerdict DecideCorner(const Neighbourhood4x4& around) {
  return DecideCornerWith(FrameCornerRules{}, around);
}

// Magnitudes and 24-bit colours of one source row, four lanes a register.
struct CornerRowsOfFour {
  const uint32_t* magnitude[4];  // rows y - 1 .. y + 2, at column x
  const uint32_t* colour[4];
};

// The corners at the bottom right of pixels x .. x + 3 of row y, the same verdicts as
// DecideCorner, as one byte each: F's blend in bits 0-1, G's in 2-3, J's in 4-5, K's in 6-7.
// Reads columns x - 1 .. x + 5 of the four rows.
inline uint32_t FourCornerVerdicts(const CornerRowsOfFour& rows) {
  const auto load = [](const uint32_t* row, int32_t offset) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + offset));
  };
  const __m128i cf = load(rows.colour[1], 0);
  const __m128i cg = load(rows.colour[1], 1);
  const __m128i cj = load(rows.colour[2], 0);
  const __m128i ck = load(rows.colour[2], 1);
  const __m128i fg = _mm_cmpeq_epi32(cf, cg);
  const __m128i jk = _mm_cmpeq_epi32(cj, ck);
  const __m128i fj = _mm_cmpeq_epi32(cf, cj);
  const __m128i gk = _mm_cmpeq_epi32(cg, ck);
  const __m128i flat = _mm_or_si128(_mm_and_si128(fg, jk), _mm_and_si128(fj, gk));
  // Four corners between flat halves, as most of flat pixel art, need no magnitudes.
  if (_mm_movemask_epi8(flat) == 0xFFFF) return 0;

  // Magnitudes stay below 2^27, so differences and their absolute values fit 32-bit lanes.
  const auto distance = [](__m128i a, __m128i b) {
    const __m128i difference = _mm_sub_epi32(a, b);
    const __m128i sign = _mm_srai_epi32(difference, 31);
    return _mm_sub_epi32(_mm_xor_si128(difference, sign), sign);
  };
  const __m128i f = load(rows.magnitude[1], 0);
  const __m128i g = load(rows.magnitude[1], 1);
  const __m128i j = load(rows.magnitude[2], 0);
  const __m128i k = load(rows.magnitude[2], 1);
  // Eight distances of up to 2^27: the sums stay below 2^30.
  __m128i jg = _mm_slli_epi32(distance(j, g), 2);
  jg = _mm_add_epi32(jg, distance(load(rows.magnitude[2], -1), f));
  jg = _mm_add_epi32(jg, distance(f, load(rows.magnitude[0], 1)));
  jg = _mm_add_epi32(jg, distance(load(rows.magnitude[3], 0), k));
  jg = _mm_add_epi32(jg, distance(k, load(rows.magnitude[1], 2)));
  __m128i fk = _mm_slli_epi32(distance(f, k), 2);
  fk = _mm_add_epi32(fk, distance(load(rows.magnitude[1], -1), j));
  fk = _mm_add_epi32(fk, distance(j, load(rows.magnitude[3], 1)));
  fk = _mm_add_epi32(fk, distance(load(rows.magnitude[0], 0), g));
  fk = _mm_add_epi32(fk, distance(g, load(rows.magnitude[2], 2)));

  // 4 * less < more, for integers, is less < ceil(more / 4).
  const auto blend = [&](__m128i less, __m128i more) {
    const __m128i chosen = _mm_andnot_si128(flat, _mm_cmplt_epi32(less, more));
    const __m128i dominant =
        _mm_cmplt_epi32(less, _mm_srli_epi32(_mm_add_epi32(more, _mm_set1_epi32(3)), 2));
    return _mm_and_si128(chosen, _mm_sub_epi32(_mm_set1_epi32(kBlendNormal), dominant));
  };
  const __m128i along_jg = blend(jg, fk);
  const __m128i along_fk = blend(fk, jg);
  const __m128i f_blend = _mm_andnot_si128(_mm_or_si128(fg, fj), along_jg);
  const __m128i k_blend = _mm_andnot_si128(_mm_or_si128(jk, gk), along_jg);
  const __m128i j_blend = _mm_andnot_si128(_mm_or_si128(fj, jk), along_fk);
  const __m128i g_blend = _mm_andnot_si128(_mm_or_si128(fg, gk), along_fk);
  const __m128i verdicts =
      _mm_or_si128(_mm_or_si128(f_blend, _mm_slli_epi32(g_blend, 2)),
                   _mm_or_si128(_mm_slli_epi32(j_blend, 4), _mm_slli_epi32(k_blend, 6)));
  const __m128i words = _mm_packs_epi32(verdicts, verdicts);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}

}  // namespace qz::scale
