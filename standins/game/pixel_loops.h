#pragma once
// The game's fourteen loops that copy rows of pixels between pictures, leaving the destination
// pixel alone where the source pixel is 0. Only the bytes the true-colour switch rewrites are
// known; the code around them is made up so that the game's own bytes copy 16-bit pixels and
// the rewritten ones copy 32-bit pixels, and any other byte there draws something else.
#include <cstddef>
#include <cstdint>

namespace standin::game {

inline constexpr size_t kPixelLoopCount = 14;

// Lays out the loops (part of mapping the image).
void LayOutPixelLoops();

// A picture as a loop's record describes it: the same rows held at 2 and at 4 bytes a pixel,
// each with its row pitch in bytes.
struct LoopPicture {
  void* pixels16 = nullptr;
  int32_t pitch16 = 0;
  void* pixels32 = nullptr;
  int32_t pitch32 = 0;
};

// Whether loop `loop` (0 to 13, in the order the switch rewrites them) starts its destination
// rows at the given column; the others start at the rows' first pixel.
bool PixelLoopTakesColumn(size_t loop);

// As the game: loop `loop` copies `rows` rows of `count` pixels (both at least 1) from `source`
// to `destination`, from `column` on where the loop takes a column.
void RunPixelLoop(size_t loop, const LoopPicture& source, const LoopPicture& destination,
                  int32_t column, int32_t count, int32_t rows);

}  // namespace standin::game
