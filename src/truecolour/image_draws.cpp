#include "truecolour/image_draws.h"

#include <climits>
#include <cstring>

#include "truecolour/bitmap_pixels.h"
#include "truecolour/palette32.h"

namespace qz::truecolour {

void DrawImage24Pixels(const uint8_t* data, int32_t image_width, BufferCopy copy) {
  if (!ClipCopy(copy, image_width, INT32_MAX)) return;
  for (int32_t row = 0; row < copy.h; ++row) {
    const uint8_t* source =
        data + ((static_cast<intptr_t>(copy.sy) + row) * image_width + copy.sx) * 3;
    auto* destination = reinterpret_cast<uint8_t*>(DestinationRow(copy, row));
    for (int32_t column = 0; column < copy.w; ++column) {
      std::memcpy(destination + 4 * column, source + 3 * column, 3);
    }
  }
}

void DrawImage8Pixels(const uint8_t* data, int32_t stride, const uint16_t* palette, BufferCopy copy,
                      bool transparent) {
  BuildPalette32(palette);
  if (!ClipCopy(copy, stride, INT32_MAX)) return;
  for (int32_t row = 0; row < copy.h; ++row) {
    const uint8_t* source = data + (static_cast<intptr_t>(copy.sy) + row) * stride + copy.sx;
    uint32_t* destination = DestinationRow(copy, row);
    for (int32_t column = 0; column < copy.w; ++column) {
      const uint8_t index = source[column];
      if (transparent && index == 0) continue;
      destination[column] = Palette32[index];
    }
  }
}

}  // namespace qz::truecolour
