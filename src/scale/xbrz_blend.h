#pragma once
// xBRZ blending of one 2 x 2 output block. The rule is written once, for the bottom-right corner;
// the other corners are the same rule on the neighbourhood turned a quarter turn at a time, which
// the compiler resolves, so each turn is plain code with no index arithmetic left.
#include <cstdint>

#include "scale/neighbourhood_4x4.h"
#include "scale/packed_mix.h"
#include "scale/xbrz_corners.h"

namespace qz::scale {

//     a b c
//     d e f      e is the current pixel; its block's bottom-right corner is blended towards
//     g h i      f and h.
struct Neighbours3x3 {
  Sample a, b, c, d, e, f, g, h, i;
};

inline Neighbours3x3 Neighbours3x3Of(const Neighbourhood4x4& around) {
  return {around.at[0][0], around.at[0][1], around.at[0][2], around.at[1][0], around.at[1][1],
          around.at[1][2], around.at[2][0], around.at[2][1], around.at[2][2]};
}

// The picture turned a quarter turn clockwise: the old bottom-left becomes the top-left, and the
// old top-right corner becomes the bottom-right one.
inline Neighbours3x3 TurnOnce(const Neighbours3x3& n) {
  return {n.g, n.d, n.a, n.h, n.e, n.b, n.i, n.f, n.c};
}

template <int Turns>
Neighbours3x3 Turned(const Neighbours3x3& n) {
  if constexpr (Turns == 0) {
    return n;
  } else {
    return TurnOnce(Turned<Turns - 1>(n));
  }
}

// The marks turn with the picture, two bits (one corner) per quarter turn.
template <int Turns>
uint32_t TurnedMarks(uint32_t marks) {
  return ((marks << (2 * Turns)) | (marks >> (8 - 2 * Turns))) & 255;
}

// The output block of the current pixel, row[0] and row[1] pointing at its left column.
struct OutputBlock {
  uint32_t* row[2];
};

// Block pixel (row, column) of the turned view.
template <int Turns>
uint32_t& TurnedPixel(const OutputBlock& block, int32_t row, int32_t column) {
  if constexpr (Turns == 0) {
    return block.row[row][column];
  } else {
    return TurnedPixel<Turns - 1>(block, 1 - column, row);
  }
}

// Weights of the blended colour, in 256ths.
inline constexpr uint32_t kQuarterWeight = 64;
inline constexpr uint32_t kHalfWeight = 128;
inline constexpr uint32_t kThreeQuartersWeight = 192;
inline constexpr uint32_t kFiveSixthsWeight = 213;
inline constexpr uint32_t kCornerWeight = 56;

// Whether the bottom-right corner is drawn as part of a line rather than rounded off alone.
inline bool DoLineBlend(const Neighbours3x3& n, uint32_t marks) {
  if (MarkField(marks, kBottomRightShift) == kBlendDominant) return true;
  // An edge through a neighbouring corner that e does not continue ends the line here.
  if (MarkField(marks, kTopRightShift) != kBlendNone && !Similar(n.e, n.g)) return false;
  if (MarkField(marks, kBottomLeftShift) != kBlendNone && !Similar(n.e, n.c)) return false;
  // e is a notch in a flat L-shaped area: keep it a corner.
  if (!Similar(n.e, n.i) && Similar(n.g, n.h) && Similar(n.h, n.i) && Similar(n.i, n.f) &&
      Similar(n.f, n.c)) {
    return false;
  }
  return true;
}

template <int Turns>
void BlendCorner(const Neighbours3x3& real, uint32_t marks, const OutputBlock& block) {
  const uint32_t turned_marks = TurnedMarks<Turns>(marks);
  if (MarkField(turned_marks, kBottomRightShift) == kBlendNone) return;
  const Neighbours3x3 n = Turned<Turns>(real);
  const uint32_t colour = Distance(n.e, n.f) <= Distance(n.e, n.h) ? n.f.colour : n.h.colour;
  const auto blend = [&](int32_t row, int32_t column, uint32_t weight) {
    uint32_t& pixel = TurnedPixel<Turns>(block, row, column);
    pixel = MixIn256ths(colour, pixel, weight);
  };
  if (!DoLineBlend(n, turned_marks)) {
    blend(1, 1, kCornerWeight);
    return;
  }
  // Shallow: f and g differ at most half as much as h and c, so the line runs out flat towards
  // g; steep: the same, upright towards c.
  const int64_t fg = Distance(n.f, n.g);
  const int64_t hc = Distance(n.h, n.c);
  const bool shallow = 2 * fg <= hc && n.e.colour != n.g.colour && n.d.colour != n.g.colour;
  const bool steep = 2 * hc <= fg && n.e.colour != n.c.colour && n.b.colour != n.c.colour;
  if (shallow) blend(1, 0, kQuarterWeight);
  if (steep) blend(0, 1, kQuarterWeight);
  if (shallow && steep) {
    blend(1, 1, kFiveSixthsWeight);
  } else if (shallow || steep) {
    blend(1, 1, kThreeQuartersWeight);
  } else {
    blend(1, 1, kHalfWeight);
  }
}

// Blends the four corners in turn, each over the result of the ones before.
inline void BlendBlock(const Neighbourhood4x4& around, uint32_t marks, const OutputBlock& block) {
  const Neighbours3x3 real = Neighbours3x3Of(around);
  BlendCorner<0>(real, marks, block);
  BlendCorner<1>(real, marks, block);
  BlendCorner<2>(real, marks, block);
  BlendCorner<3>(real, marks, block);
}

}  // namespace qz::scale
