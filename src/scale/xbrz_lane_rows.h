#pragma once
// The xBRZ frame enlarger's row work written once over a lane set `L`: each instruction set's
// source file instantiates it for its own lanes.
#include <cstdint>
#include <cstring>

#include "scale/xbrz_blend_lanes.h"
#include "scale/xbrz_corner_lanes.h"
#include "scale/xbrz_strip_row.h"

namespace qz::scale {

template <typename L>
void LookUpLaneMagnitudes(const uint32_t* table, const uint32_t* colours, int32_t count,
                          uint32_t* magnitudes) {
  static_assert(L::kCount <= kLaneGroup, "rows are loaded to whole groups of kLaneGroup");
  using Reg = typename L::Reg;
  for (int32_t i = 0; i < count; i += L::kCount) {
    const Reg colour = L::Load(colours + i);
    // A widened 16-bit colour (its low channel bits 0) has its entry in the small part behind
    // the table, indexed by the 16-bit colour.
    const Reg packed = L::Or(L::Or(L::And(L::template ShiftRight<8>(colour), L::Set(0xF800)),
                                   L::And(L::template ShiftRight<5>(colour), L::Set(0x07E0))),
                             L::And(L::template ShiftRight<3>(colour), L::Set(0x001F)));
    const Reg widened = L::Equal(L::And(colour, L::Set(0x070307)), L::Zero());
    const Reg index = L::Select(widened, L::Add(packed, L::Set(kTableColours)), colour);
    L::Store(magnitudes + i, L::Gather(table, index));
  }
}

template <typename L>
void DecideLaneRow(const StripRow* const rows[4], int32_t count, uint8_t* verdicts) {
  for (int32_t index = 0; index < count; index += L::kCount) {
    // Corner index i is at the bottom right of entry i + 1 of the rows.
    const int32_t entry = index + kRowPadding - 1;
    CornerRows around;
    for (int32_t slot = 0; slot < 4; ++slot) {
      around.magnitude[slot] = rows[slot]->magnitude + entry;
      around.colour[slot] = rows[slot]->colour + entry;
    }
    LaneCornerVerdicts<L>(around, verdicts + index);
  }
}

template <typename L>
int32_t DoubleLaneRow(const StripRow* const rows[4], const uint8_t* marks, int32_t count,
                      uint32_t* top, uint32_t* bottom) {
  int32_t pixel = 0;
  for (; pixel + L::kCount <= count; pixel += L::kCount) {
    const int32_t entry = pixel + kRowPadding;
    const typename L::Reg centre = L::Load(rows[1]->colour + entry);
    LaneBlocks<L> blocks{{{centre, centre}, {centre, centre}}};
    uint64_t group_marks = 0;
    std::memcpy(&group_marks, marks + pixel, L::kCount);
    if (group_marks != 0) {
      LaneSamples3x3<L> around;
      for (int32_t slot = 0; slot < 3; ++slot) {
        for (int32_t offset = -1; offset <= 1; ++offset) {
          around[3 * slot + offset + 1] = {L::Load(rows[slot]->colour + entry + offset),
                                           L::Load(rows[slot]->magnitude + entry + offset)};
        }
      }
      BlendLaneBlocks<L>(around, L::WidenBytes(marks + pixel), blocks);
    }
    L::StorePairs(top + 2 * pixel, blocks.at[0][0], blocks.at[0][1]);
    L::StorePairs(bottom + 2 * pixel, blocks.at[1][0], blocks.at[1][1]);
  }
  return pixel;
}

}  // namespace qz::scale
