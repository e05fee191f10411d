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

// The corner that `Turns` quarter turns bring to the bottom right: the rule of BlendCorner with
// every decision taken as a value instead of a branch. The marks, distances and similarities of
// game art follow no pattern a branch predictor could learn, so each weight is selected and a
// weight of 0 leaves its pixel as it is.
template <int Turns>
inline void BlendFrameCorner(const Grid3x3<Sample>& real, uint32_t marks,
                             const OutputBlock& block) {
  const uint32_t turned = TurnedMarks<Turns>(marks);
  const uint32_t field = MarkField(turned, kBottomRightShift);
  if (field == kBlendNone) return;
  const auto n = Turned<Turns>(real);
  const uint32_t colour = Distance(n.e, n.f) <= Distance(n.e, n.h) ? n.f.colour : n.h.colour;
  const bool ends_at_right = (MarkField(turned, kTopRightShift) != kBlendNone) & !Similar(n.e, n.g);
  const bool ends_below = (MarkField(turned, kBottomLeftShift) != kBlendNone) & !Similar(n.e, n.c);
  const bool notch = !Similar(n.e, n.i) & Similar(n.g, n.h) & Similar(n.h, n.i) &
                     Similar(n.i, n.f) & Similar(n.f, n.c);
  const bool line = (field == kBlendDominant) | !(ends_at_right | ends_below | notch);
  const int32_t fg = Distance(n.f, n.g);
  const int32_t hc = Distance(n.h, n.c);
  const bool shallow =
      line & (2 * fg <= hc) & (n.e.colour != n.g.colour) & (n.d.colour != n.g.colour);
  const bool steep =
      line & (2 * hc <= fg) & (n.e.colour != n.c.colour) & (n.b.colour != n.c.colour);
  // Indexed by line, shallow, steep (shallow and steep only ever come with a line).
  static constexpr uint8_t kCornerWeights[8] = {
      kCornerWeight,    0, 0, 0, kHalfWeight, kThreeQuartersWeight, kThreeQuartersWeight,
      kFiveSixthsWeight};
  const uint32_t corner = kCornerWeights[(uint32_t{line} << 2) | (uint32_t{shallow} << 1) | steep];
  uint32_t& below = TurnedPixel<Turns>(block, 1, 0);
  uint32_t& right = TurnedPixel<Turns>(block, 0, 1);
  uint32_t& diagonal = TurnedPixel<Turns>(block, 1, 1);
  below = MixIn256ths(colour, below, shallow ? kQuarterWeight : 0);
  right = MixIn256ths(colour, right, steep ? kQuarterWeight : 0);
  diagonal = MixIn256ths(colour, diagonal, corner);
}

// Blends the four corners in turn, each over the result of the ones before; the same as
// BlendBlockWith(FrameBlendRules{}, ...).
inline void BlendBlock(const Grid3x3<Sample>& around, uint32_t marks, const OutputBlock& block) {
  BlendFrameCorner<0>(around, marks, block);
  BlendFrameCorner<1>(around, marks, block);
  BlendFrameCorner<2>(around, marks, block);
  BlendFrameCorner<3>(around, marks, block);
}

}  // namespace qz::scale
