#include "truecolour/bitmap_pixels.h"

#include <algorithm>
#include <cstring>

#include "truecolour/pixel_operations.h"

namespace qz::truecolour {
namespace {

// Moves the start of a span of `length` forward to 0 when it lies before it, together with
// `follower`, the matching start on the other side of a copy.
void DropBeforeZero(int32_t& start, int32_t& length, int32_t& follower) {
  if (start >= 0) return;
  const int64_t shift = -static_cast<int64_t>(start);
  length = static_cast<int32_t>(std::max<int64_t>(length - shift, -1));
  follower = static_cast<int32_t>(std::min<int64_t>(follower + shift, INT32_MAX));
  start = 0;
}

// Shortens a span so that start + length stays within limit.
void LimitEnd(int32_t start, int32_t& length, int32_t limit) {
  if (static_cast<int64_t>(start) + length > limit) {
    length = static_cast<int32_t>(std::max<int64_t>(static_cast<int64_t>(limit) - start, -1));
  }
}

// The game's limit at the right and bottom edge, then the drop of what lies left of or above the
// bitmap. `shift_x` and `shift_y` say how far the start moved.
bool LimitAndShift(PixelRectangle& rectangle, const PixelBuffer& bitmap, int32_t& shift_x,
                   int32_t& shift_y) {
  LimitEnd(rectangle.x, rectangle.w, bitmap.width);
  LimitEnd(rectangle.y, rectangle.h, bitmap.height);
  shift_x = 0;
  shift_y = 0;
  DropBeforeZero(rectangle.x, rectangle.w, shift_x);
  DropBeforeZero(rectangle.y, rectangle.h, shift_y);
  return rectangle.w > 0 && rectangle.h > 0;
}

void FillSpan(uint32_t* row, int32_t from, int32_t to, uint32_t colour) {
  std::fill(row + from, row + to, colour);
}

}  // namespace

bool LimitToBitmap(PixelRectangle& rectangle, const PixelBuffer& bitmap) {
  int32_t shift_x = 0;
  int32_t shift_y = 0;
  return LimitAndShift(rectangle, bitmap, shift_x, shift_y);
}

bool ClipToDestination(BufferCopy& copy) {
  DropBeforeZero(copy.dx, copy.w, copy.sx);
  DropBeforeZero(copy.dy, copy.h, copy.sy);
  LimitEnd(copy.dx, copy.w, copy.destW);
  LimitEnd(copy.dy, copy.h, copy.destH);
  return copy.w > 0 && copy.h > 0;
}

ColumnSpan ReadableColumns(const BufferCopy& copy, int32_t row, const SourceMemory& memory) {
  // Byte offset of the row's first source pixel; one that cannot be counted lies outside.
  int64_t rows = 0;
  int64_t row_start = 0;
  int64_t start = 0;
  if (__builtin_mul_overflow(int64_t{copy.sy} + row, memory.row_bytes, &rows) ||
      __builtin_mul_overflow(int64_t{copy.sx}, memory.pixel_bytes, &row_start) ||
      __builtin_add_overflow(rows, row_start, &start)) {
    return {0, 0};
  }
  int64_t first = 0;
  int64_t last = copy.w;
  int64_t before = 0;
  if (__builtin_sub_overflow(memory.begin, start, &before)) return {0, 0};
  // ceil(before / pixel_bytes): the first pixel that starts at or after the memory's beginning.
  if (before > 0) first = (before + memory.pixel_bytes - 1) / memory.pixel_bytes;
  if (memory.end != SourceMemory::kUnknownEnd) {
    int64_t room = 0;
    if (__builtin_sub_overflow(memory.end, start, &room) || room < memory.pixel_bytes) {
      return {0, 0};
    }
    last = std::min(last, room / memory.pixel_bytes);
  }
  if (first >= last) return {0, 0};
  return {static_cast<int32_t>(first), static_cast<int32_t>(last),
          start + first * memory.pixel_bytes};
}

SourceMemory BitmapMemory(const PixelBuffer& bitmap) {
  if (bitmap.width <= 0 || bitmap.height <= 0) return {0, 0, 0, 4};
  const int64_t last_row = int64_t{bitmap.height - 1} * bitmap.pitch;
  const int64_t row_bytes = int64_t{bitmap.width} * 4;
  return {std::min<int64_t>(0, last_row), std::max(row_bytes, last_row + row_bytes), bitmap.pitch,
          4};
}

bool ClipCopy(BufferCopy& copy, int32_t source_width, int32_t source_height) {
  if (!ClipToDestination(copy)) return false;
  DropBeforeZero(copy.sx, copy.w, copy.dx);
  DropBeforeZero(copy.sy, copy.h, copy.dy);
  LimitEnd(copy.sx, copy.w, source_width);
  LimitEnd(copy.sy, copy.h, source_height);
  return copy.w > 0 && copy.h > 0;
}

void CopyBitmapPixels(const PixelBuffer& bitmap, BufferCopy copy, uint8_t key) {
  if (!ClipToDestination(copy)) return;
  const SourceMemory memory = BitmapMemory(bitmap);
  for (int32_t row = 0; row < copy.h; ++row) {
    const ColumnSpan span = ReadableColumns(copy, row, memory);
    if (span.first == span.last) continue;
    // The pixels in memory order: past the row's end the next row follows.
    const uint32_t* source = reinterpret_cast<const uint32_t*>(
        reinterpret_cast<const uint8_t*>(bitmap.pixels) + span.first_byte);
    uint32_t* destination = DestinationRow(copy, row) + span.first;
    const int32_t count = span.last - span.first;
    if (key == 0) {
      std::memcpy(destination, source, static_cast<size_t>(count) * 4);
      continue;
    }
    for (int32_t column = 0; column < count; ++column) {
      if (source[column] != key) destination[column] = source[column];
    }
  }
}

void GrabPixels(const PixelBuffer& bitmap, const PixelBuffer& source, int32_t x, int32_t y) {
  BufferCopy copy{0, 0, bitmap.width, bitmap.height, bitmap.pixels,
                  0, 0, bitmap.width, bitmap.height, bitmap.pitch};
  // The source rectangle starts at (x, y); what lies before the source's edge is skipped.
  copy.sx = x;
  copy.sy = y;
  if (!ClipCopy(copy, source.width, source.height)) return;
  for (int32_t row = 0; row < copy.h; ++row) {
    std::memcpy(DestinationRow(copy, row), PixelRow(source, copy.sy + row) + copy.sx,
                static_cast<size_t>(copy.w) * 4);
  }
}

void FillPixels(const PixelBuffer& bitmap, PixelRectangle rectangle, uint32_t colour) {
  if (!LimitToBitmap(rectangle, bitmap)) return;
  for (int32_t row = rectangle.y; row < rectangle.y + rectangle.h; ++row) {
    FillSpan(PixelRow(bitmap, row), rectangle.x, rectangle.x + rectangle.w, colour);
  }
}

void OutlinePixels(const PixelBuffer& bitmap, PixelRectangle rectangle, uint32_t colour) {
  // The right and bottom edges sit where the game's limit puts them; an edge left of or above
  // the bitmap is simply not drawn.
  LimitEnd(rectangle.x, rectangle.w, bitmap.width);
  LimitEnd(rectangle.y, rectangle.h, bitmap.height);
  if (rectangle.w <= 0 || rectangle.h <= 0) return;
  const int32_t left = rectangle.x;
  const int32_t right = rectangle.x + rectangle.w - 1;
  const int32_t top = rectangle.y;
  const int32_t bottom = rectangle.y + rectangle.h - 1;
  if (right < 0 || bottom < 0) return;
  for (int32_t row = std::max(top, 0); row <= bottom; ++row) {
    uint32_t* pixels = PixelRow(bitmap, row);
    if (row == top || row == bottom) {
      FillSpan(pixels, std::max(left, 0), right + 1, colour);
      continue;
    }
    if (left >= 0) pixels[left] = colour;
    pixels[right] = colour;
  }
}

void DarkenPixels(const PixelBuffer& bitmap, PixelRectangle rectangle) {
  if (!LimitToBitmap(rectangle, bitmap)) return;
  for (int32_t row = rectangle.y; row < rectangle.y + rectangle.h; ++row) {
    uint32_t* pixels = PixelRow(bitmap, row);
    for (int32_t column = rectangle.x; column < rectangle.x + rectangle.w; ++column) {
      pixels[column] = Dark50(pixels[column]);
    }
  }
}

void DarkenPixelsThroughMask(const PixelBuffer& bitmap, PixelRectangle rectangle,
                             const uint8_t* mask, int32_t mask_stride, int32_t mask_x,
                             int32_t mask_y) {
  int32_t shift_x = 0;
  int32_t shift_y = 0;
  if (!LimitAndShift(rectangle, bitmap, shift_x, shift_y)) return;
  for (int32_t j = 0; j < rectangle.h; ++j) {
    uint32_t* pixels = PixelRow(bitmap, rectangle.y + j) + rectangle.x;
    const uint8_t* mask_row =
        mask + (static_cast<intptr_t>(mask_y) + shift_y + j) * mask_stride + mask_x + shift_x;
    for (int32_t i = 0; i < rectangle.w; ++i) {
      if (mask_row[i] != 0) pixels[i] = Dark50(pixels[i]);
    }
  }
}

}  // namespace qz::truecolour
