#pragma once
// xBRZ blending of neighbouring 2 x 2 output blocks of the frame enlarger at once, one vector
// lane per source pixel: the rule of BlendFrameCorner with every decision a lane mask. On game
// art most pixels have a marked corner, and marks, distances and similarities follow no pattern
// a branch predictor could learn. `L` is the lane set (Sse2Lanes, Avx2Lanes).
#include <cstdint>

#include "scale/color_magnitude.h"
#include "scale/xbrz_blend.h"
#include "scale/xbrz_rules.h"

namespace qz::scale {

// Colours (24 bits) and magnitudes of L::kCount pixels side by side.
template <typename L>
struct LaneSamples {
  typename L::Reg colour;
  typename L::Reg magnitude;
};

// Output blocks of L::kCount source pixels: at[row][column], one lane per pixel.
template <typename L>
struct LaneBlocks {
  typename L::Reg at[2][2];
};

template <int Turns, typename L>
typename L::Reg& TurnedLanes(LaneBlocks<L>& blocks, int32_t row, int32_t column) {
  if constexpr (Turns == 0) {
    return blocks.at[row][column];
  } else {
    return TurnedLanes<Turns - 1>(blocks, 1 - column, row);
  }
}

// Blend field `Shift` of each lane's marks turned `Turns` quarter turns: the marks turn by two
// bits a quarter turn (as TurnedMarks), so the field is read where it lay before the turn.
template <typename L, uint32_t Shift, int Turns>
typename L::Reg TurnedField(typename L::Reg marks) {
  constexpr uint32_t kUnturned = (Shift + 8 - 2 * Turns) % 8;
  return L::And(L::template ShiftRight<kUnturned>(marks), L::Set(3));
}

template <typename L>
typename L::Reg LaneDistance(const LaneSamples<L>& a, const LaneSamples<L>& b) {
  return L::Abs(L::Sub(a.magnitude, b.magnitude));
}

// The 3 x 3 samples a .. i, row by row.
template <typename L>
using LaneSamples3x3 = LaneSamples<L>[9];

// Roles a .. i as indices of LaneSamples3x3.
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
template <typename L>
struct LaneComparisons {
  typename L::Reg from_centre[9];  // distance of e to each role
  typename L::Reg similar_to_centre[9];
  typename L::Reg similar_ring[8];  // ring pair k similar
  typename L::Reg same_ring[8];     // ring pair k the same colour
  typename L::Reg same_as_centre[9];
};

template <typename L>
void Compare(const LaneSamples3x3<L>& grid, LaneComparisons<L>& out) {
  const typename L::Reg limit = L::Set(kSimilarityLimit);
  for (const int32_t role : kRing) {
    out.from_centre[role] = LaneDistance<L>(grid[kE], grid[role]);
    out.similar_to_centre[role] = L::Less(out.from_centre[role], limit);
    out.same_as_centre[role] = L::Equal(grid[kE].colour, grid[role].colour);
  }
  for (int32_t k = 0; k < 8; ++k) {
    const LaneSamples<L>& first = grid[kRing[k]];
    const LaneSamples<L>& second = grid[kRing[(k + 1) % 8]];
    out.similar_ring[k] = L::Less(LaneDistance<L>(first, second), limit);
    out.same_ring[k] = L::Equal(first.colour, second.colour);
  }
}

// Inlined into the caller, so the samples and comparisons stay where they were made rather than
// being copied per turn.
template <int Turns, typename L>
[[gnu::always_inline]] inline void BlendLaneCorners(const LaneSamples3x3<L>& real,
                                                    const LaneComparisons<L>& compared,
                                                    typename L::Reg marks, LaneBlocks<L>& blocks) {
  using Reg = typename L::Reg;
  constexpr int32_t b = TurnedRole<Turns>(kB), c = TurnedRole<Turns>(kC), d = TurnedRole<Turns>(kD),
                    f = TurnedRole<Turns>(kF), g = TurnedRole<Turns>(kG), h = TurnedRole<Turns>(kH),
                    i = TurnedRole<Turns>(kI);
  const Reg zero = L::Zero();
  const auto similar_to_centre = [&](int32_t role) { return compared.similar_to_centre[role]; };
  const auto similar = [&](int32_t x, int32_t y) { return compared.similar_ring[RingPair(x, y)]; };
  const auto same = [&](int32_t x, int32_t y) { return compared.same_ring[RingPair(x, y)]; };

  const Reg own = TurnedField<L, kBottomRightShift, Turns>(marks);
  const Reg unmarked = L::Equal(own, zero);
  if (L::All(unmarked)) return;
  const Reg colour = L::Select(L::Greater(compared.from_centre[f], compared.from_centre[h]),
                               real[h].colour, real[f].colour);
  // Where the line may go on past the neighbouring corners, and where it would cut a notch.
  const Reg open_right =
      L::Or(L::Equal(TurnedField<L, kTopRightShift, Turns>(marks), zero), similar_to_centre(g));
  const Reg open_below =
      L::Or(L::Equal(TurnedField<L, kBottomLeftShift, Turns>(marks), zero), similar_to_centre(c));
  const Reg notch = L::AndNot(similar_to_centre(i), L::And(L::And(similar(g, h), similar(h, i)),
                                                           L::And(similar(i, f), similar(f, c))));
  const Reg line = L::Or(L::Equal(own, L::Set(kBlendDominant)),
                         L::AndNot(notch, L::And(open_right, open_below)));
  const Reg fg = LaneDistance<L>(real[f], real[g]);
  const Reg hc = LaneDistance<L>(real[h], real[c]);
  const Reg marked_line = L::AndNot(unmarked, line);
  const Reg shallow = L::AndNot(
      L::Or(L::Greater(L::Add(fg, fg), hc), L::Or(compared.same_as_centre[g], same(d, g))),
      marked_line);
  const Reg steep = L::AndNot(
      L::Or(L::Greater(L::Add(hc, hc), fg), L::Or(compared.same_as_centre[c], same(b, c))),
      marked_line);
  Reg corner = L::Select(line, L::Weight(kHalfWeight), L::Weight(kCornerWeight));
  corner = L::Select(L::Or(shallow, steep), L::Weight(kThreeQuartersWeight), corner);
  corner = L::Select(L::And(shallow, steep), L::Weight(kFiveSixthsWeight), corner);
  Reg& below = TurnedLanes<Turns>(blocks, 1, 0);
  Reg& right = TurnedLanes<Turns>(blocks, 0, 1);
  Reg& diagonal = TurnedLanes<Turns>(blocks, 1, 1);
  // Lines that run out shallow or steep are the rarer case: most groups need neither mix.
  if (L::Any(L::Or(shallow, steep))) {
    const Reg quarter = L::Weight(kQuarterWeight);
    below = L::Mix(colour, below, L::And(shallow, quarter));
    right = L::Mix(colour, right, L::And(steep, quarter));
  }
  diagonal = L::Mix(colour, diagonal, L::AndNot(unmarked, corner));
}

// The blocks, starting from their centre colours, with their corners blended in turn; the same
// as BlendBlock on each.
template <typename L>
[[gnu::always_inline]] inline void BlendLaneBlocks(const LaneSamples3x3<L>& around,
                                                   typename L::Reg marks, LaneBlocks<L>& blocks) {
  LaneComparisons<L> compared;
  Compare<L>(around, compared);
  BlendLaneCorners<0>(around, compared, marks, blocks);
  BlendLaneCorners<1>(around, compared, marks, blocks);
  BlendLaneCorners<2>(around, compared, marks, blocks);
  BlendLaneCorners<3>(around, compared, marks, blocks);
}

}  // namespace qz::scale
