#pragma once
// xBRZ blending of one 2 x 2 output block of the frame enlarger: the shared corner rule with
// packed integer mixes, which leave the top byte 0.
#include <cstdint>

#include "scale/neighbourhood_4x4.h"
#include "scale/packed_mix.h"
#include "scale/xbrz_corners.h"
#include "scale/xbrz_rules.h"

namespace qz::scale {

inline Grid3x3<Sample> Neighbours3x3Of(const Neighbourhood4x4& around) {
  return {around.at[0][0], around.at[0][1], around.at[0][2], around.at[1][0], around.at[1][1],
          around.at[1][2], around.at[2][0], around.at[2][1], around.at[2][2]};
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
inline void BlendBlock(const Neighbourhood4x4& around, uint32_t marks, const OutputBlock& block) {
  BlendBlockWith(FrameBlendRules{}, Neighbours3x3Of(around), marks, block);
}

}  // namespace qz::scale
