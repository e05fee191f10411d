#pragma once
// xBRZ corner marks of the frame enlarger: for every corner where four source pixels meet,
// whether an edge runs along it and how strongly, decided once on colour magnitudes and shared
// by the four pixels around the corner.
#include <emmintrin.h>

#include <algorithm>
#include <bit>
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

// How many of the corners at the bottom right of pixels x .. x + 3 of row y, counted from the
// left, lie between flat halves, tested four at a time; needs x + 4 <= rows.last_column.
inline int32_t LeadingFlatCorners(const SourceRows& rows, int32_t x) {
  const __m128i mask = _mm_set1_epi32(kColourMask);
  const auto load = [&](int32_t row, int32_t column) {
    const auto* pixels = reinterpret_cast<const __m128i*>(rows.row[row] + column);
    return _mm_and_si128(_mm_loadu_si128(pixels), mask);
  };
  const __m128i f = load(1, x);
  const __m128i g = load(1, x + 1);
  const __m128i j = load(2, x);
  const __m128i k = load(2, x + 1);
  const __m128i across = _mm_and_si128(_mm_cmpeq_epi32(f, g), _mm_cmpeq_epi32(j, k));
  const __m128i down = _mm_and_si128(_mm_cmpeq_epi32(f, j), _mm_cmpeq_epi32(g, k));
  const auto flat = static_cast<uint32_t>(_mm_movemask_epi8(_mm_or_si128(across, down)));
  return std::countr_zero(~flat) / 4;  // four mask bits per corner
}

// Calls visit(x, verdict, centre) for x = x0 .. x1 along row y, left to right, with the verdict
// on the corner at the bottom right of pixel (x, y) and that pixel's 24-bit colour. Most corners
// of pixel art lie between flat halves, which four colours of rows y and y + 1 settle; only the
// others need the magnitudes of the whole 4 x 4 block. Where four flat corners follow each other,
// skip_flat(x) may take pixels x .. x + 3 at once and returns whether it did; otherwise the pixels
// go one by one up to the first corner that is not flat.
template <typename Visit, typename SkipFlat>
void ForEachCornerVerdict(const SourceRows& rows, int32_t x0, int32_t x1, const uint32_t* table,
                          Visit&& visit, SkipFlat&& skip_flat) {
  const FrameCornerRules rules;
  const int32_t last_four = std::min(x1 - 3, rows.last_column - 4);
  for (int32_t x = x0; x <= x1;) {
    int32_t steps = 4;
    if (x <= last_four) {
      const int32_t flat = LeadingFlatCorners(rows, x);
      if (flat == 4 && skip_flat(x)) {
        x += 4;
        continue;
      }
      steps = flat == 4 ? 4 : flat + 1;
    }
    for (const int32_t stop = x + steps <= x1 ? x + steps : x1 + 1; x < stop; ++x) {
      const int32_t right = x < rows.last_column ? x + 1 : rows.last_column;
      const uint32_t f = rows.row[1][x] & kColourMask;
      const uint32_t g = rows.row[1][right] & kColourMask;
      const uint32_t j = rows.row[2][x] & kColourMask;
      const uint32_t k = rows.row[2][right] & kColourMask;
      CornerVerdict verdict;
      if (!FlatHalves(rules, f, g, j, k)) {
        Neighbourhood4x4 around;
        for (int32_t slot = 0; slot < 4; ++slot) {
          LoadColumn(around, slot, rows, x - 1 + slot, table);
        }
        verdict = DecideCorner(around);
      }
      visit(x, verdict, f);
    }
  }
}

}  // namespace qz::scale
