#include "truecolour/image_draws.h"

#include <cstring>

#include "truecolour/bitmap_pixels.h"
#include "truecolour/palette32.h"

namespace qz::truecolour {
namespace {

// Only the image's start and its row length are known, not its height: reads before the start
// are cut, and none with a row length of 0 or less, which leaves no row to count from.
SourceMemory ImageMemory(int64_t row_bytes, int64_t pixel_bytes) {
  if (row_bytes <= 0) return {0, 0, 0, pixel_bytes};
  return {0, SourceMemory::kUnknownEnd, row_bytes, pixel_bytes};
}

}  // namespace

void DrawImage24Pixels(const uint8_t* data, int32_t image_width, BufferCopy copy) {
  if (!ClipToDestination(copy)) return;
  const SourceMemory memory = ImageMemory(int64_t{image_width} * 3, 3);
  for (int32_t row = 0; row < copy.h; ++row) {
    const ColumnSpan span = ReadableColumns(copy, row, memory);
    const uint8_t* source = data + span.first_byte;
    auto* destination = reinterpret_cast<uint8_t*>(DestinationRow(copy, row) + span.first);
    for (int32_t column = 0; column < span.last - span.first; ++column) {
      std::memcpy(destination + 4 * column, source + 3 * column, 3);
    }
  }
}

void DrawImage8Pixels(const uint8_t* data, int32_t stride, const uint16_t* palette, BufferCopy copy,
                      bool transparent) {
  BuildPalette32(palette);
  if (!ClipToDestination(copy)) return;
  const SourceMemory memory = ImageMemory(stride, 1);
  for (int32_t row = 0; row < copy.h; ++row) {
    const ColumnSpan span = ReadableColumns(copy, row, memory);
    const uint8_t* source = data + span.first_byte;
    uint32_t* destination = DestinationRow(copy, row) + span.first;
    for (int32_t column = 0; column < span.last - span.first; ++column) {
      const uint8_t index = source[column];
      if (transparent && index == 0) continue;
      destination[column] = Palette32[index];
    }
  }
}

}  // namespace qz::truecolour
