#pragma once
// A frame with the character of the game's real art, for the benchmarks and the tests that keep
// the 2x stages exact on it: terrain dithered and textured from many colours of the 16-bit
// palette, shaded sprites with anti-aliased edges and shadows, and a panel with text.
#include <cstdint>
#include <vector>

namespace qz::benchmarks {

// width x height pixels, packed rows, every pixel a 16-bit colour widened to 32 bits or what the
// game's own shadow drawing makes of one.
std::vector<uint32_t> GameArtFrame(int32_t width, int32_t height);

// What makes a frame cheap or dear for the 2x stages.
struct FrameCharacter {
  double flat_blocks = 0;  // share of the 2 x 2 blocks whose four pixels are one colour
  int32_t distinct_colours = 0;
  double marked_pixels = 0;  // share of pixels with a corner the xBRZ rules mark
};

// Needs the colour magnitude table.
FrameCharacter CharacterOf(const std::vector<uint32_t>& frame, int32_t width, int32_t height);

}  // namespace qz::benchmarks
