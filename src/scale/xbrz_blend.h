#pragma once
// xBRZ blending of one 2 x 2 output block of the frame enlarger: the shared corner rule with
// packed integer mixes, which leave the top byte 0.
#include <cstdint>

#include "scale/neighbourhood_4x4.h"
#include "scale/packed_mix.h"
#include "scale/xbrz_corners.h"
#include "scale/xbrz_rules.h"

namespace qz::scale {

// The 3 x 3 pixels around source pixel x of row y, from the rows y - 1 .. y + 1 of `rows`.
inline Grid3x3<Sample> Neighbours3x3At(const SourceRows& rows, int32_t x, const uint32_t* table) {
  const int32_t left = x > 0 ? x - 1 : 0;
  const int32_t right = x < rows.last_column ? x + 1 : rows.last_column;
  const auto at = [&](int32_t row, int32_t column) {
    return SampleOf(table, rows.row[row][column]);
  };
  return {at(0, left),  at(0, x),    at(0, right), at(1, left), at(1, x),
          at(1, right), at(2, left), at(2, x),     at(2, right)};
}

// Weights of the blended colour, in 256ths.
inline constexpr uint32_t kQuarterWeight = 64;
inline constexpr uint32_t kHalfWeight = 128;
inline constexpr uint32_t kThreeQuartersWeight = 192;
inline constexpr uint32_t kFiveSixthsWeight = 213;
inline constexpr uint32_t kCornerWeight = 56;

// Lines run shallow or steep when one change is at most half the other.
struct FrameBlendRules : FrameCornerRules {
  static bool Similar(const Sample& a, const Sample& b) { return scale::Similar(a, b); }
  static bool SteepDirection(int64_t side, int64_t across) { return 2 * side <= across; }
  template <BlendShare Share>
  static uint32_t Mix(const Sample& colour, uint32_t pixel) {
    constexpr uint32_t kWeight = Share == BlendShare::kQuarter         ? kQuarterWeight
                                 : Share == BlendShare::kHalf          ? kHalfWeight
                                 : Share == BlendShare::kThreeQuarters ? kThreeQuartersWeight
                                 : Share == BlendShare::kFiveSixths    ? kFiveSixthsWeight
                                                                       : kCornerWeight;
    return MixIn256ths(colour.colour, pixel, kWeight);
  }
};

// Blends the four corners in turn, each over the result of the ones before.
inline void BlendBlock(const Grid3x3<Sample>& around, uint32_t marks, const OutputBlock& block) {
  BlendBlockWith(FrameBlendRules{}, around, marks, block);
}

}  // namespace qz::scale
