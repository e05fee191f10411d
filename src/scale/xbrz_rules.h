#pragma once
// The xBRZ corner rules at scale 2, written once for any pixel measure: the frame enlarger runs
// them on colour magnitudes with integer thresholds, the cursor enlarger on pixels with alpha.
//
// `Rules` supplies, for its `Pixel` type:
//   Distance(a, b)                 how far apart two pixels are (an integer or a double);
//   Similar(a, b)                  Distance below the equal-colour tolerance;
//   Identical(a, b)                the very same pixel value;
//   DominantDirection(less, more)  whether one diagonal's change is dominated by the other's;
//   SteepDirection(side, across)   whether an edge runs clearly along one axis;
//   Mix<BlendShare>(colour, pixel) an output pixel with that share of `colour` blended in.
#include <cstdint>

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

// Two flat halves meeting along a straight line, across or down the square of F, G, J and K: no
// corner to round.
template <typename Rules, typename Pixel>
inline bool FlatHalves(const Rules& rules, const Pixel& f, const Pixel& g, const Pixel& j,
                       const Pixel& k) {
  return (rules.Identical(f, g) && rules.Identical(j, k)) ||
         (rules.Identical(f, j) && rules.Identical(g, k));
}

// The edge follows whichever diagonal, J-G or F-K, changes colour less across its surroundings
// (the diagonal's own change counts four times); the two pixels off that diagonal get their
// corner blended, dominantly when the other diagonal changes clearly more. `around.at[row]
// [column]` holds:
//
//     A B C D
//     E F G H      F is the current pixel.
//     I J K L
//     M N O P
template <typename Rules, typename Around>
inline CornerVerdict DecideCornerWith(const Rules& rules, const Around& around) {
  const auto& b = around.at[0][1];
  const auto& c = around.at[0][2];
  const auto& e = around.at[1][0];
  const auto& f = around.at[1][1];
  const auto& g = around.at[1][2];
  const auto& h = around.at[1][3];
  const auto& i = around.at[2][0];
  const auto& j = around.at[2][1];
  const auto& k = around.at[2][2];
  const auto& l = around.at[2][3];
  const auto& n = around.at[3][1];
  const auto& o = around.at[3][2];

  CornerVerdict verdict;
  if (FlatHalves(rules, f, g, j, k)) return verdict;
  const auto jg = rules.Distance(i, f) + rules.Distance(f, c) + rules.Distance(n, k) +
                  rules.Distance(k, h) + 4 * rules.Distance(j, g);
  const auto fk = rules.Distance(e, j) + rules.Distance(j, o) + rules.Distance(b, g) +
                  rules.Distance(g, l) + 4 * rules.Distance(f, k);
  if (jg < fk) {
    const CornerBlend blend = rules.DominantDirection(jg, fk) ? kBlendDominant : kBlendNormal;
    if (!rules.Identical(f, g) && !rules.Identical(f, j)) verdict.f = blend;
    if (!rules.Identical(k, j) && !rules.Identical(k, g)) verdict.k = blend;
  } else if (fk < jg) {
    const CornerBlend blend = rules.DominantDirection(fk, jg) ? kBlendDominant : kBlendNormal;
    if (!rules.Identical(j, f) && !rules.Identical(j, k)) verdict.j = blend;
    if (!rules.Identical(g, f) && !rules.Identical(g, k)) verdict.g = blend;
  }
  return verdict;
}

//     a b c
//     d e f      e is the current pixel; its block's bottom-right corner is blended towards
//     g h i      f and h.
template <typename Pixel>
struct Grid3x3 {
  Pixel a, b, c, d, e, f, g, h, i;
};

// The picture turned a quarter turn clockwise: the old bottom-left becomes the top-left, and the
// old top-right corner becomes the bottom-right one.
template <typename Pixel>
Grid3x3<Pixel> TurnOnce(const Grid3x3<Pixel>& n) {
  return {n.g, n.d, n.a, n.h, n.e, n.b, n.i, n.f, n.c};
}

// Resolved by the compiler, so each turn is plain code with no index arithmetic left.
template <int Turns, typename Pixel>
Grid3x3<Pixel> Turned(const Grid3x3<Pixel>& n) {
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

// How much of the chosen neighbour a blended output pixel takes.
enum class BlendShare { kQuarter, kHalf, kThreeQuarters, kFiveSixths, kCorner };

// Whether the bottom-right corner is drawn as part of a line rather than rounded off alone.
template <typename Rules>
inline bool DoLineBlend(const Rules& rules, const Grid3x3<typename Rules::Pixel>& n,
                        uint32_t marks) {
  if (MarkField(marks, kBottomRightShift) == kBlendDominant) return true;
  // An edge through a neighbouring corner that e does not continue ends the line here.
  if (MarkField(marks, kTopRightShift) != kBlendNone && !rules.Similar(n.e, n.g)) return false;
  if (MarkField(marks, kBottomLeftShift) != kBlendNone && !rules.Similar(n.e, n.c)) return false;
  // e is a notch in a flat L-shaped area: keep it a corner.
  if (!rules.Similar(n.e, n.i) && rules.Similar(n.g, n.h) && rules.Similar(n.h, n.i) &&
      rules.Similar(n.i, n.f) && rules.Similar(n.f, n.c)) {
    return false;
  }
  return true;
}

// Output pixel (row, column) of the turned view with `Share` of `colour` blended in.
template <BlendShare Share, int Turns, typename Rules>
inline void BlendPixel(const Rules& rules, const OutputBlock& block, int32_t row, int32_t column,
                       const typename Rules::Pixel& colour) {
  uint32_t& pixel = TurnedPixel<Turns>(block, row, column);
  pixel = rules.template Mix<Share>(colour, pixel);
}

// The corner that `Turns` quarter turns bring to the bottom right, blended over the block.
template <int Turns, typename Rules>
void BlendCorner(const Rules& rules, const Grid3x3<typename Rules::Pixel>& real, uint32_t marks,
                 const OutputBlock& block) {
  const uint32_t turned_marks = TurnedMarks<Turns>(marks);
  if (MarkField(turned_marks, kBottomRightShift) == kBlendNone) return;
  const auto n = Turned<Turns>(real);
  const auto& colour = rules.Distance(n.e, n.f) <= rules.Distance(n.e, n.h) ? n.f : n.h;
  if (!DoLineBlend(rules, n, turned_marks)) {
    BlendPixel<BlendShare::kCorner, Turns>(rules, block, 1, 1, colour);
    return;
  }
  // Shallow: f and g differ clearly less than h and c, so the line runs out flat towards g;
  // steep: the same, upright towards c.
  const auto fg = rules.Distance(n.f, n.g);
  const auto hc = rules.Distance(n.h, n.c);
  const bool shallow =
      rules.SteepDirection(fg, hc) && !rules.Identical(n.e, n.g) && !rules.Identical(n.d, n.g);
  const bool steep =
      rules.SteepDirection(hc, fg) && !rules.Identical(n.e, n.c) && !rules.Identical(n.b, n.c);
  if (shallow) BlendPixel<BlendShare::kQuarter, Turns>(rules, block, 1, 0, colour);
  if (steep) BlendPixel<BlendShare::kQuarter, Turns>(rules, block, 0, 1, colour);
  if (shallow && steep) {
    BlendPixel<BlendShare::kFiveSixths, Turns>(rules, block, 1, 1, colour);
  } else if (shallow || steep) {
    BlendPixel<BlendShare::kThreeQuarters, Turns>(rules, block, 1, 1, colour);
  } else {
    BlendPixel<BlendShare::kHalf, Turns>(rules, block, 1, 1, colour);
  }
}

// Blends the four corners in turn (bottom right, top right, top left, bottom left), each over the
// result of the ones before.
template <typename Rules>
void BlendBlockWith(const Rules& rules, const Grid3x3<typename Rules::Pixel>& real, uint32_t marks,
                    const OutputBlock& block) {
  BlendCorner<0>(rules, real, marks, block);
  BlendCorner<1>(rules, real, marks, block);
  BlendCorner<2>(rules, real, marks, block);
  BlendCorner<3>(rules, real, marks, block);
}

}  // namespace qz::scale
