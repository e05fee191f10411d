#pragma once
// The game's plain 24-bit and 8-bit images drawn into a 32-bit buffer. Both clip against the
// destination as the bitmap copy does. Of the source only the start and the row length are known:
// reads before the start are cut; a rectangle wider than the image goes on into the next row, and
// rows are not counted against the image's height, as in the game.
#include <cstdint>

#include "truecolour/pixel_buffer.h"

namespace qz::truecolour {

// Rows of image_width 3-byte pixels one after the other; bytes 0-2 of each destination pixel
// take the source pixel's bytes in order, byte 3 is left as it was.
void DrawImage24Pixels(const uint8_t* data, int32_t image_width, BufferCopy copy);

// One palette index a byte, rows `stride` bytes apart, converted through the image's own 256
// RGB565 colours (rebuilding Palette32); with `transparent`, index 0 leaves the pixel alone.
void DrawImage8Pixels(const uint8_t* data, int32_t stride, const uint16_t* palette, BufferCopy copy,
                      bool transparent);

}  // namespace qz::truecolour
