#pragma once
// xBRZ corner verdicts of the frame enlarger for several corners of a row at once, one vector
// lane per corner. `L` is the lane set (Sse2Lanes, Avx2Lanes).
#include <cstdint>

#include "scale/color_magnitude.h"
#include "scale/xbrz_rules.h"

namespace qz::scale {

// Magnitudes and 24-bit colours of the four source rows around a row of corners.
struct CornerRows {
  const uint32_t* magnitude[4];  // rows y - 1 .. y + 2, at column x
  const uint32_t* colour[4];
};

// The corners at the bottom right of pixels x .. x + L::kCount - 1 of row y, the same verdicts
// as DecideCorner, as one byte each: F's blend in bits 0-1, G's in 2-3, J's in 4-5, K's in 6-7.
// Reads columns x - 1 .. x + L::kCount + 1 of the four rows.
template <typename L>
[[gnu::always_inline]] inline void LaneCornerVerdicts(const CornerRows& rows,
                                                      uint8_t* verdict_bytes) {
  using Reg = typename L::Reg;
  const Reg cf = L::Load(rows.colour[1]);
  const Reg cg = L::Load(rows.colour[1] + 1);
  const Reg cj = L::Load(rows.colour[2]);
  const Reg ck = L::Load(rows.colour[2] + 1);
  const Reg fg = L::Equal(cf, cg);
  const Reg jk = L::Equal(cj, ck);
  const Reg fj = L::Equal(cf, cj);
  const Reg gk = L::Equal(cg, ck);
  const Reg flat = L::Or(L::And(fg, jk), L::And(fj, gk));
  // Corners between flat halves, as most of flat pixel art, need no magnitudes.
  if (L::All(flat)) {
    L::StoreBytes(verdict_bytes, L::Zero());
    return;
  }

  // Magnitudes stay below 2^27, so differences and their absolute values fit 32-bit lanes.
  const auto distance = [](Reg a, Reg b) { return L::Abs(L::Sub(a, b)); };
  const auto load = [&](int32_t row, int32_t offset) {
    return L::Load(rows.magnitude[row] + offset);
  };
  const Reg f = load(1, 0);
  const Reg g = load(1, 1);
  const Reg j = load(2, 0);
  const Reg k = load(2, 1);
  // Eight distances of up to 2^27: the sums stay below 2^30.
  Reg jg = L::template ShiftLeft<2>(distance(j, g));
  jg = L::Add(jg, distance(load(2, -1), f));
  jg = L::Add(jg, distance(f, load(0, 1)));
  jg = L::Add(jg, distance(load(3, 0), k));
  jg = L::Add(jg, distance(k, load(1, 2)));
  Reg fk = L::template ShiftLeft<2>(distance(f, k));
  fk = L::Add(fk, distance(load(1, -1), j));
  fk = L::Add(fk, distance(j, load(3, 1)));
  fk = L::Add(fk, distance(load(0, 0), g));
  fk = L::Add(fk, distance(g, load(2, 2)));

  // 4 * less < more, for integers, is less < ceil(more / 4).
  const auto blend = [&](Reg less, Reg more) {
    const Reg chosen = L::AndNot(flat, L::Less(less, more));
    const Reg dominant = L::Less(less, L::template ShiftRight<2>(L::Add(more, L::Set(3))));
    return L::And(chosen, L::Sub(L::Set(kBlendNormal), dominant));
  };
  const Reg along_jg = blend(jg, fk);
  const Reg along_fk = blend(fk, jg);
  const Reg f_blend = L::AndNot(L::Or(fg, fj), along_jg);
  const Reg k_blend = L::AndNot(L::Or(jk, gk), along_jg);
  const Reg j_blend = L::AndNot(L::Or(fj, jk), along_fk);
  const Reg g_blend = L::AndNot(L::Or(fg, gk), along_fk);
  L::StoreBytes(verdict_bytes,
                L::Or(L::Or(f_blend, L::template ShiftLeft<2>(g_blend)),
                      L::Or(L::template ShiftLeft<4>(j_blend), L::template ShiftLeft<6>(k_blend))));
}

}  // namespace qz::scale
