#pragma once
// The pixel work of the game's bitmap routines on 32-bit pixels.
//
// Rectangles on a bitmap are limited at its right and bottom edge as the game's routines limit
// them; parts left of or above the bitmap are dropped too, so nothing is ever written outside it.
// Copies to a buffer are clipped against the destination; their source rectangle is not clipped
// against the source's size, as in the game, where a row wider than the source goes on into the
// next one. Only reads that would leave the source's memory are cut.
#include <cstdint>

#include "truecolour/pixel_buffer.h"

namespace qz::truecolour {

// Clips `copy` against its destination (left, top, right, bottom, in that order). False when
// nothing is left to copy.
bool ClipToDestination(BufferCopy& copy);

// Clips against the destination, then against a source of source_width x source_height. False
// when nothing is left to copy.
bool ClipCopy(BufferCopy& copy, int32_t source_width, int32_t source_height);

// What is known of a source's memory: the bytes [begin, end) counted from source pixel (0, 0)
// (end kUnknownEnd when only its start is known), rows row_bytes apart, pixel_bytes a pixel.
struct SourceMemory {
  static constexpr int64_t kUnknownEnd = INT64_MAX;
  int64_t begin = 0;
  int64_t end = 0;
  int64_t row_bytes = 0;
  int64_t pixel_bytes = 1;
};

// The columns [first, last) of a clipped copy's row whose source pixel, at byte
// (sy + row) * row_bytes + (sx + column) * pixel_bytes, lies wholly inside the memory, and the byte
// of column `first`.
struct ColumnSpan {
  int32_t first = 0;
  int32_t last = 0;
  int64_t first_byte = 0;
};
ColumnSpan ReadableColumns(const BufferCopy& copy, int32_t row, const SourceMemory& memory);

// A bitmap's memory: its rows from the first to the end of the last one's pixels.
SourceMemory BitmapMemory(const PixelBuffer& bitmap);

// Limits a rectangle to the bitmap: at the right and bottom edge as the game does, then drops what
// lies left of or above it. False when nothing is left.
bool LimitToBitmap(PixelRectangle& rectangle, const PixelBuffer& bitmap);

// Copies a rectangle of `bitmap` into the destination; with a non-zero key, source pixels equal to
// it are left out. Pixels outside the bitmap's memory leave their destination pixel alone.
void CopyBitmapPixels(const PixelBuffer& bitmap, BufferCopy copy, uint8_t key);

// Fills the whole of `bitmap` from the bitmap-sized rectangle at (x, y) of `source`; columns and
// rows that fall outside the source are left as they are.
void GrabPixels(const PixelBuffer& bitmap, const PixelBuffer& source, int32_t x, int32_t y);

void FillPixels(const PixelBuffer& bitmap, PixelRectangle rectangle, uint32_t colour);

// A one-pixel frame: the first and last row whole, the first and last column in between. The
// right and bottom edge follow the limited rectangle.
void OutlinePixels(const PixelBuffer& bitmap, PixelRectangle rectangle, uint32_t colour);

void DarkenPixels(const PixelBuffer& bitmap, PixelRectangle rectangle);

// Darkens bitmap pixel (x + i, y + j) where mask byte (mask_x + i, mask_y + j) is not 0; the
// mask's rows are mask_stride bytes apart.
void DarkenPixelsThroughMask(const PixelBuffer& bitmap, PixelRectangle rectangle,
                             const uint8_t* mask, int32_t mask_stride, int32_t mask_x,
                             int32_t mask_y);

}  // namespace qz::truecolour
