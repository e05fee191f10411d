#pragma once
// The game keeps its colours in RGB565; frame pixels are 32-bit. This is the one conversion and the
// one palette table that every paletted drawer shares.
#include <array>
#include <cstdint>

namespace qz::truecolour {

// Each channel lands in the high bits of its byte; the low bits stay zero (the high bits are not
// replicated into them) and so do bits 24-31.
constexpr uint32_t PixelFromRgb565(uint16_t colour) {
  return ((colour & 0xF800u) << 8) | ((colour & 0x07E0u) << 5) | ((colour & 0x001Fu) << 3);
}

// One table for the whole process, overwritten by every draw that writes palette colours, so two
// such draws must never overlap.
extern std::array<uint32_t, 256> Palette32;

// Converts the 256 RGB565 colours of `palette` into Palette32.
void BuildPalette32(const uint16_t* palette);

}  // namespace qz::truecolour
