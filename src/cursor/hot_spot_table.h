#pragma once
// HotSpotTable: the game's cursor hot spots, one 8-byte entry (x, y) per cursor type and frame.
#include <cstdint>

namespace qz::cursor {

struct HotSpot {
  uint32_t x;
  uint32_t y;
};

// Entries per cursor type: 9 shifted by the game's stride byte, or "Tarn.ArtifactsCount" when
// bit 3 of "QZ.ExeVersion" is set and the count is not 0. Read afresh each time.
uint32_t HotSpotStride();

// Entry type * stride + frame; an entry at or beyond the table's five types takes the first
// entry of type 4. Unsigned, as the game indexes it.
uint32_t HotSpotEntry(int32_t type, int32_t frame);

HotSpot HotSpotOf(int32_t type, int32_t frame);

}  // namespace qz::cursor
