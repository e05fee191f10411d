#pragma once
// xBRZ corner marks: for every corner where four source pixels meet, whether an edge runs along
// it and how strongly, decided once and shared by the four pixels around the corner.
#include <cstdint>

#include "scale/neighbourhood_4x4.h"

namespace qz::scale {

// One byte per source pixel, a 2-bit blend kind per corner of its output block.
enum CornerBlend : uint32_t { kBlendNone = 0, kBlendNormal = 1, kBlendDominant = 2 };

inline constexpr uint32_t kTopLeftShift = 0;
inline constexpr uint32_t kTopRightShift = 2;
inline constexpr uint32_t kBottomRightShift = 4;
inline constexpr uint32_t kBottomLeftShift = 6;

inline CornerBlend MarkField(uint32_t marks, uint32_t shift) {
  return static_cast<CornerBlend>((marks >> shift) & 3);
}

// The corner between F, G, J and K, seen from each of the four: F's bottom right, G's bottom
// left, J's top right and K's top left.
struct CornerVerdict {
  CornerBlend f = kBlendNone;
  CornerBlend g = kBlendNone;
  CornerBlend j = kBlendNone;
  CornerBlend k = kBlendNone;
};

// The edge follows whichever diagonal, J-G or F-K, changes colour less across its surroundings
// (the diagonal's own change counts four times); the two pixels off that diagonal get their
// corner blended, dominantly when the other diagonal changes more than four times as much.
//
//     A B C D
//     E F G H      F is the current pixel.
//     I J K L
//     M N O P
inline CornerVerdict DecideCorner(const Neighbourhood4x4& around) {
  const Sample& b = around.at[0][1];
  const Sample& c = around.at[0][2];
  const Sample& e = around.at[1][0];
  const Sample& f = around.at[1][1];
  const Sample& g = around.at[1][2];
  const Sample& h = around.at[1][3];
  const Sample& i = around.at[2][0];
  const Sample& j = around.at[2][1];
  const Sample& k = around.at[2][2];
  const Sample& l = around.at[2][3];
  const Sample& n = around.at[3][1];
  const Sample& o = around.at[3][2];

  CornerVerdict verdict;
  // Two flat halves meeting along a straight line: no corner to round. Exact colours here.
  if ((f.colour == g.colour && j.colour == k.colour) ||
      (f.colour == j.colour && g.colour == k.colour)) {
    return verdict;
  }
  // Eight distances of up to 2^27 each: the sums fit 32 bits, four times a sum does not.
  const int64_t jg = int64_t{Distance(i, f)} + Distance(f, c) + Distance(n, k) + Distance(k, h) +
                     4 * int64_t{Distance(j, g)};
  const int64_t fk = int64_t{Distance(e, j)} + Distance(j, o) + Distance(b, g) + Distance(g, l) +
                     4 * int64_t{Distance(f, k)};
  if (jg < fk) {
    const CornerBlend blend = 4 * jg < fk ? kBlendDominant : kBlendNormal;
    if (f.colour != g.colour && f.colour != j.colour) verdict.f = blend;
    if (k.colour != j.colour && k.colour != g.colour) verdict.k = blend;
  } else if (fk < jg) {
    const CornerBlend blend = 4 * fk < jg ? kBlendDominant : kBlendNormal;
    if (j.colour != f.colour && j.colour != k.colour) verdict.j = blend;
    if (g.colour != f.colour && g.colour != k.colour) verdict.g = blend;
  }
  return verdict;
}

}  // namespace qz::scale
