#include "truecolour/picture_mix.h"

#include <algorithm>
#include <cstring>

#include "truecolour/bitmap_pixels.h"
#include "truecolour/palette32.h"

namespace qz::truecolour {

void MixPictures(const PixelBuffer& target, PixelRectangle rectangle, const PictureMix& mix) {
  rectangle.w = std::min({rectangle.w, mix.first->width, mix.second->width});
  rectangle.h = std::min({rectangle.h, mix.first->height, mix.second->height});
  // Dropping columns left of the target moves the read position in the pictures too.
  const int32_t x = rectangle.x;
  const int32_t y = rectangle.y;
  if (!LimitToBitmap(rectangle, target)) return;
  const int32_t skip_x = rectangle.x - x;
  const int32_t skip_y = rectangle.y - y;
  for (int32_t j = 0; j < rectangle.h; ++j) {
    auto* out = reinterpret_cast<uint8_t*>(PixelRow(target, rectangle.y + j) + rectangle.x);
    const auto* first = reinterpret_cast<const uint8_t*>(PixelRow(*mix.first, skip_y + j) + skip_x);
    const auto* second =
        reinterpret_cast<const uint8_t*>(PixelRow(*mix.second, skip_y + j) + skip_x);
    for (int32_t byte = 0; byte < 4 * rectangle.w; ++byte) {
      if (byte % 4 == 3) continue;
      out[byte] = static_cast<uint8_t>(
          (first[byte] * mix.first_weight + second[byte] * mix.second_weight) >> mix.shift);
    }
  }
}

void ConvertRgb565Picture(const uint8_t* frame, int32_t frame_pitch, int32_t width, int32_t height,
                          const PixelBuffer& destination) {
  for (int32_t row = 0; row < height; ++row) {
    const uint8_t* source = frame + static_cast<intptr_t>(row) * frame_pitch;
    uint32_t* out = PixelRow(destination, row);
    for (int32_t column = 0; column < width; ++column) {
      uint16_t colour;
      std::memcpy(&colour, source + 2 * column, 2);
      out[column] = PixelFromRgb565(colour);
    }
  }
}

}  // namespace qz::truecolour
